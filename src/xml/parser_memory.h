#pragma once

#include <cstddef>

#include <xercesc/framework/MemoryManager.hpp>

namespace nv {

// The memory of one Xerces parser. When an allocation fails inside one of
// Xerces' own constructors, the blocks that constructor had made are lost:
// no caller can reach them. Each block here is linked into a list, and the
// blocks still linked when the parser's memory goes are freed with it, so a
// parser that runs out of memory leaks nothing. The memory must outlive the
// parser and what it hands out; one thread uses it at a time.
class ParserMemory final : public xercesc::MemoryManager {
 public:
  ParserMemory() = default;
  ParserMemory(const ParserMemory&) = delete;
  ParserMemory& operator=(const ParserMemory&) = delete;
  ~ParserMemory() override;

  // Exceptions can outlive the parser, so they take the process's memory.
  xercesc::MemoryManager* getExceptionMemoryManager() override;
  void* allocate(XMLSize_t size) override;
  void deallocate(void* block) override;

 private:
  struct alignas(std::max_align_t) Link {
    Link* prev;
    Link* next;
  };
  Link blocks_{&blocks_, &blocks_};
};

}  // namespace nv
