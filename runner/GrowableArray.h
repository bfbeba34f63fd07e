// A plain array of bytes or numbers for the line store. A small one lives on the heap; from a
// large page on, it is a block mapped apart, which grows by moving its pages rather than copying
// them, so that growing the text of a list of hundreds of megabytes never holds it twice. Only
// for trivially copyable elements.
#pragma once

#include "platform/LargeMemory.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

template <typename T> class CGrowableArray
{
    static_assert(std::is_trivially_copyable_v<T>);

public:
    CGrowableArray() = default;
    ~CGrowableArray() { Clear(); }
    CGrowableArray(const CGrowableArray&) = delete;
    CGrowableArray& operator=(const CGrowableArray&) = delete;

    T* Data() { return m_data; }
    const T* Data() const { return m_data; }
    std::size_t Size() const { return m_size; }
    std::size_t Capacity() const { return m_capacity; }
    T& operator[](std::size_t index) { return m_data[index]; }
    const T& operator[](std::size_t index) const { return m_data[index]; }

    // Makes room for at least `capacity` elements, growing by half at least so that adding
    // one by one stays linear. Like the standard containers, throws std::bad_alloc when the
    // memory is not there.
    void Reserve(std::size_t capacity)
    {
        if (capacity <= m_capacity)
            return;
        const std::size_t grown = m_capacity + m_capacity / 2;
        SetCapacity(capacity > grown ? capacity : grown);
    }
    // Gives back the room beyond the elements.
    void ShrinkToFit()
    {
        if (m_capacity > m_size)
            SetCapacity(m_size);
    }
    // Sets the number of elements; new ones are left unwritten.
    void Resize(std::size_t size)
    {
        Reserve(size);
        m_size = size;
    }
    // Sets the number of elements, the new ones with every byte zero.
    void ResizeZeroed(std::size_t size)
    {
        // Fresh pages from the system are zero already: not writing them spares their faults
        // until they are used.
        const bool freshlyMapped = m_data == nullptr && IsMapped(size);
        const std::size_t from = m_size;
        Resize(size);
        if (!freshlyMapped && size > from)
            std::memset(static_cast<void*>(m_data + from), 0, (size - from) * sizeof(T));
    }
    void PushBack(T value)
    {
        if (m_size == m_capacity)
            Reserve(m_size + 1);
        m_data[m_size++] = value;
    }
    void Clear()
    {
        Release();
        m_data = nullptr;
        m_size = 0;
        m_capacity = 0;
    }

private:
    void SetCapacity(std::size_t capacity)
    {
        if (capacity == 0)
        {
            Clear();
            return;
        }
        if (capacity > static_cast<std::size_t>(-1) / sizeof(T))
            throw std::bad_alloc();
        const std::size_t bytes = capacity * sizeof(T);
        const bool wasMapped = m_data != nullptr && IsMapped(m_capacity);
        void* moved = nullptr;
        if (wasMapped && IsMapped(capacity))
            moved = RemapLargeBlock(m_data, m_capacity * sizeof(T), bytes);
        else if (m_data == nullptr || (!wasMapped && !IsMapped(capacity)))
            moved = IsMapped(capacity) ? MapLargeBlock(bytes) : std::realloc(m_data, bytes);
        else
        {
            // Between the heap and a mapped block: what it holds is copied, less than a large
            // page when it grows.
            moved = IsMapped(capacity) ? MapLargeBlock(bytes) : std::malloc(bytes);
            if (moved != nullptr)
            {
                std::memcpy(moved, m_data, std::min(m_size, capacity) * sizeof(T));
                Release();
            }
        }
        if (moved == nullptr)
            throw std::bad_alloc();
        m_data = static_cast<T*>(moved);
        m_capacity = capacity;
    }

    static bool IsMapped(std::size_t capacity) { return capacity * sizeof(T) >= LargePageBytes; }

    // Gives back the memory; the members are the caller's to set.
    void Release()
    {
        if (IsMapped(m_capacity))
            UnmapLargeBlock(m_data, m_capacity * sizeof(T));
        else
            std::free(m_data);
    }

    T* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};
