#pragma once

#include <duktape.h>

#include <cstddef>
#include <memory>

namespace tamrivo {

// One Duktape heap, used by one thread. Its memory is bounded, and a fatal error inside
// the engine does not end the process: the heap just becomes unusable. Whatever it
// allocated is released with it, whole or broken.
class ScriptHeap {
public:
    static constexpr std::size_t kDefaultMemoryBudget = std::size_t{256} << 20;

    explicit ScriptHeap(std::size_t memoryBudget = kDefaultMemoryBudget);
    ~ScriptHeap();
    ScriptHeap(const ScriptHeap&) = delete;
    ScriptHeap& operator=(const ScriptHeap&) = delete;

    // Null when the heap could not be created or broke.
    duk_context* context() const { return broken_ ? nullptr : context_; }

    // Runs work(context, data) with errors caught. On success its one result is left on
    // the value stack, when it throws the error is; false then. A fatal error leaves the
    // heap unusable and gives false with nothing on the stack.
    bool call(duk_safe_call_function work, void* data);

private:
    class Arena;

    std::unique_ptr<Arena> arena_;
    duk_context* context_ = nullptr;
    bool broken_ = false;
};

}  // namespace tamrivo
