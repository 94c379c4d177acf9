// A table of at most N entries in place, with its own count: the solid's tables never allocate
// after the build, and an index beyond the count is an error rather than a stale entry.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>
#include <string>

namespace kesmora {

template <typename T, int N> class FixedTable {
    static_assert(N > 0);

  public:
    static constexpr int capacity() { return N; }
    int size() const { return count_; }
    bool empty() const { return count_ == 0; }

    // The check is one compare that always goes the same way in a correct program, cheap enough for
    // the renderer's per-frame reads.
    T& operator[](int i) {
        check(i);
        return items_[static_cast<std::size_t>(i)];
    }
    const T& operator[](int i) const {
        check(i);
        return items_[static_cast<std::size_t>(i)];
    }

    void push_back(const T& value) {
        if (count_ >= N) {
            throw std::out_of_range("FixedTable: full at " + std::to_string(N));
        }
        items_[static_cast<std::size_t>(count_++)] = value;
    }
    // Entries beyond the old count come back as a fresh T, never as what an earlier fill left.
    void resize(int n) {
        if (n < 0 || n > N) {
            throw std::out_of_range("FixedTable: size " + std::to_string(n) + " beyond 0.." +
                                    std::to_string(N));
        }
        for (auto i = static_cast<std::size_t>(count_); i < static_cast<std::size_t>(n); ++i) {
            items_[i] = T{};
        }
        count_ = n;
    }
    void clear() { count_ = 0; }

    T* begin() { return items_.data(); }
    T* end() { return items_.data() + count_; }
    const T* begin() const { return items_.data(); }
    const T* end() const { return items_.data() + count_; }

  private:
    void check(int i) const {
        if (static_cast<unsigned>(i) >= static_cast<unsigned>(count_)) [[unlikely]] {
            throw std::out_of_range("FixedTable: index " + std::to_string(i) + " beyond " +
                                    std::to_string(count_));
        }
    }

    std::array<T, static_cast<std::size_t>(N)> items_{};
    int count_ = 0;
};

} // namespace kesmora
