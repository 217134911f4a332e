#include "xml/parser_memory.h"

#include <cstdint>
#include <new>

#include <xercesc/util/OutOfMemoryException.hpp>
#include <xercesc/util/PlatformUtils.hpp>

namespace nv {

ParserMemory::~ParserMemory() {
  while (blocks_.next != &blocks_) deallocate(blocks_.next + 1);
}

xercesc::MemoryManager* ParserMemory::getExceptionMemoryManager() {
  return xercesc::XMLPlatformUtils::fgMemoryManager;
}

void* ParserMemory::allocate(XMLSize_t size) {
  if (size > SIZE_MAX - sizeof(Link)) throw xercesc::OutOfMemoryException();
  auto* link = static_cast<Link*>(::operator new(sizeof(Link) + size, std::nothrow));
  // Xerces expects its own out-of-memory exception, as its default memory throws.
  if (link == nullptr) throw xercesc::OutOfMemoryException();
  link->prev = &blocks_;
  link->next = blocks_.next;
  blocks_.next->prev = link;
  blocks_.next = link;
  return link + 1;
}

void ParserMemory::deallocate(void* block) {
  if (block == nullptr) return;
  Link* link = static_cast<Link*>(block) - 1;
  link->prev->next = link->next;
  link->next->prev = link->prev;
  ::operator delete(link);
}

}  // namespace nv
