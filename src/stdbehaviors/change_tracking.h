// Change tracking: the change writer and reader, transactions, changes of the
// three kinds and their detail views, over objects whose classes carry the
// standard change-tracking behaviours.
#pragma once

#include "frame/interfaces.h"

namespace nv {

// The change writer of a writer: it creates its objects with the object
// writer of the writer's current package.
ComPtr<INvVexaChangeWriter> NewChangeWriter(const ComPtr<INvVexaWriter>& writer);
// The change reader of a reader.
ComPtr<INvVexaChangeReader> NewChangeReader(const ComPtr<INvVexaReader>& reader);

// The casts the writer and the reader share: a new view of the same object
// when it carries the change (or transaction) behaviour, else null. A change
// keeps `schema` and `namespaces` (the package's table; null on the reading
// side) for the values it rebuilds and captures.
ComPtr<INvVexaChange> CastToChange(const ComPtr<INvVexaObject>& object,
                                   const ComPtr<INvVexaSchema>& schema,
                                   const ComPtr<INvVexaNamespaces>& namespaces);
ComPtr<INvVexaChangeTransaction> CastToTransaction(const ComPtr<INvVexaObject>& object);

}  // namespace nv
