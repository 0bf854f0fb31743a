// A pool of objects of one type, held in slabs of many slots: what a document's paragraphs and
// segments are allocated from, so that a million paragraphs cost a few hundred heap blocks
// instead of two million, and are given back together with their document.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <utility>
#include <vector>

namespace quillory {

template <class T>
class SlabPool {
public:
    SlabPool() = default;
    SlabPool(const SlabPool&) = delete;
    SlabPool& operator=(const SlabPool&) = delete;
    // Frees the slabs only: the owner destroys its live objects first (see destroy()).
    ~SlabPool() = default;

    // A new object in a free slot: one given back earlier, else the next unused slot of the
    // newest slab, else a slot of a new slab. A throwing constructor leaves the slot free.
    template <class... Args>
    T* create(Args&&... args)
    {
        Slot* slot = takeSlot();
        try {
            // The one place objects are constructed: in the raw bytes of a slot.
            T* object = ::new (static_cast<void*>(slot->bytes)) T(std::forward<Args>(args)...);
            ++live_;
            return object;
        } catch (...) {
            giveBack(slot);
            throw;
        }
    }

    // Ends an object made by create() and keeps its slot for the next create().
    void destroy(T* object) noexcept
    {
        if (!object)
            return;
        object->~T();
        giveBack(reinterpret_cast<Slot*>(object));
        --live_;
    }

    // Gives every slab back to the heap once no object lives any more (a cleared document).
    void releaseIfEmpty() noexcept
    {
        if (live_ != 0)
            return;
        slabs_.clear();
        slabs_.shrink_to_fit();
        free_ = nullptr;
        unused_ = 0;
        nextSlabSlots_ = FirstSlabSlots;
    }

    std::size_t liveCount() const noexcept { return live_; }

private:
    // A slot holds an object, or while free the link to the next free slot.
    union Slot {
        Slot* nextFree;
        alignas(T) unsigned char bytes[sizeof(T)];
    };
    // Slabs grow from a few slots (most documents are short) to about 64 KB, which stays below
    // the heap's threshold for separate mappings and so is reused by the heap after freeing.
    static constexpr std::size_t FirstSlabSlots = 8;
    static constexpr std::size_t MaxSlabSlots = std::max<std::size_t>(64 * 1024 / sizeof(Slot), 8);

    Slot* takeSlot()
    {
        if (free_) {
            Slot* slot = free_;
            free_ = slot->nextFree;
            return slot;
        }
        if (unused_ == 0) {
            // Left uninitialised, so that the pages are touched only as slots are used.
            slabs_.push_back(std::make_unique_for_overwrite<Slot[]>(nextSlabSlots_));
            slabSlots_ = nextSlabSlots_;
            unused_ = nextSlabSlots_;
            nextSlabSlots_ = std::min(nextSlabSlots_ * 2, MaxSlabSlots);
        }
        return &slabs_.back()[slabSlots_ - unused_--];
    }

    void giveBack(Slot* slot) noexcept
    {
        slot->nextFree = free_;
        free_ = slot;
    }

    std::vector<std::unique_ptr<Slot[]>> slabs_;
    Slot* free_ = nullptr;        // slots given back, linked through themselves
    std::size_t unused_ = 0;      // never used slots left at the end of the newest slab
    std::size_t slabSlots_ = 0;   // slots of the newest slab
    std::size_t nextSlabSlots_ = FirstSlabSlots;
    std::size_t live_ = 0;
};

} // namespace quillory
