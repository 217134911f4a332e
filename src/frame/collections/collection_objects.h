// The interface objects that expose the variant collection and the simple
// string list to other objects of the library.
#pragma once

#include "frame/collections/simple_string_list.h"
#include "frame/collections/variant_collection.h"
#include "frame/implements.h"

namespace nv {

class CNvCollection final
    : public Implements<CNvCollection, CNvCollectionImpl, INvVariantCollection> {};

class CNvSimpleStringList final
    : public Implements<CNvSimpleStringList, CNvSimpleStringListImpl, INvSimpleStringList> {};

}  // namespace nv
