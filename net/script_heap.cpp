#include "net/script_heap.h"

#include <csetjmp>
#include <cstdlib>

namespace tamrivo {

// Duktape's allocator: every block is linked into a list so that a heap broken by a fatal
// error, which can no longer be destroyed by Duktape, is still freed completely.
class ScriptHeap::Arena {
public:
    explicit Arena(std::size_t budget) : budget_(budget) {}
    ~Arena() {
        while (first_ != nullptr) {
            Block* next = first_->next;
            std::free(first_);
            first_ = next;
        }
    }
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    static void* allocate(void* arena, duk_size_t size) {
        return static_cast<Arena*>(arena)->resize(nullptr, size);
    }
    static void* reallocate(void* arena, void* data, duk_size_t size) {
        return static_cast<Arena*>(arena)->resize(data, size);
    }
    static void release(void* arena, void* data) { static_cast<Arena*>(arena)->resize(data, 0); }

    // A fatal error must not return into Duktape: it jumps back to the running guard.
    [[noreturn]] static void fatal(void* arena, const char*) {
        std::jmp_buf* jump = static_cast<Arena*>(arena)->fatalJump;
        if (jump == nullptr) {
            std::abort();  // only reachable if Duktape fails outside every guard
        }
        std::longjmp(*jump, 1);
    }

    std::jmp_buf* fatalJump = nullptr;

private:
    struct alignas(std::max_align_t) Block {
        Block* previous;
        Block* next;
        std::size_t size;
    };

    void* resize(void* data, std::size_t size) {
        Block* old = data == nullptr ? nullptr : static_cast<Block*>(data) - 1;
        const std::size_t oldSize = old == nullptr ? 0 : old->size;
        if (size == 0) {
            if (old != nullptr) {
                unlink(old);
                std::free(old);
            }
            return nullptr;
        }
        if (size > budget_ - (used_ - oldSize)) {
            return nullptr;  // Duktape collects garbage and retries, then throws RangeError
        }
        if (old != nullptr) {
            unlink(old);
        }
        auto* block = static_cast<Block*>(std::realloc(old, sizeof(Block) + size));
        if (block == nullptr) {
            if (old != nullptr) {
                link(old);
            }
            return nullptr;
        }
        block->size = size;
        link(block);
        return block + 1;
    }

    void link(Block* block) {
        block->previous = nullptr;
        block->next = first_;
        if (first_ != nullptr) {
            first_->previous = block;
        }
        first_ = block;
        used_ += block->size;
    }

    void unlink(Block* block) {
        (block->previous != nullptr ? block->previous->next : first_) = block->next;
        if (block->next != nullptr) {
            block->next->previous = block->previous;
        }
        used_ -= block->size;
    }

    std::size_t budget_;
    std::size_t used_ = 0;
    Block* first_ = nullptr;
};

namespace {

// setjmp lives in this frame; the only frames a fatal error jumps over are Duktape's own
// C frames and the caller's work function, none of which own anything to destroy.
template <class Work>
bool guarded(std::jmp_buf*& slot, Work&& work) {
    std::jmp_buf jump;
    slot = &jump;
    if (setjmp(jump) != 0) {
        slot = nullptr;
        return false;
    }
    work();
    slot = nullptr;
    return true;
}

}  // namespace

ScriptHeap::ScriptHeap(std::size_t memoryBudget) : arena_(std::make_unique<Arena>(memoryBudget)) {
    guarded(arena_->fatalJump, [this] {
        context_ = duk_create_heap(Arena::allocate, Arena::reallocate, Arena::release, arena_.get(),
                                   Arena::fatal);
    });
}

ScriptHeap::~ScriptHeap() {
    if (context_ != nullptr && !broken_) {
        guarded(arena_->fatalJump, [this] { duk_destroy_heap(context_); });
    }
}

bool ScriptHeap::call(duk_safe_call_function work, void* data) {
    duk_context* context = this->context();
    if (context == nullptr) {
        return false;
    }
    duk_int_t result = DUK_EXEC_ERROR;
    if (!guarded(arena_->fatalJump, [&] { result = duk_safe_call(context, work, data, 0, 1); })) {
        broken_ = true;
        return false;
    }
    return result == DUK_EXEC_SUCCESS;
}

}  // namespace tamrivo
