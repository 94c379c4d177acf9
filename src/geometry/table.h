// The growable tables of a figure: its vertices and face records (CheckedTable), and its faces as one flat
// list of vertex indices with the offsets where each face starts (FaceList). Every read is checked:
// an index beyond the count is an error rather than a stale or foreign entry.
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace kesmora {

namespace tablecheck {

// The check is one compare that always goes the same way in a correct program, cheap enough for
// the renderer's per-frame reads.
inline void index(const char* table, int i, std::size_t count) {
    if (static_cast<std::size_t>(static_cast<unsigned>(i)) >= count) [[unlikely]] {
        throw std::out_of_range(std::string(table) + ": index " + std::to_string(i) + " beyond " +
                                std::to_string(count));
    }
}

} // namespace tablecheck

template <typename T> class CheckedTable {
  public:
    int size() const { return static_cast<int>(items_.size()); }
    bool empty() const { return items_.empty(); }

    T& operator[](int i) {
        tablecheck::index("CheckedTable", i, items_.size());
        return items_[static_cast<std::size_t>(i)];
    }
    const T& operator[](int i) const {
        tablecheck::index("CheckedTable", i, items_.size());
        return items_[static_cast<std::size_t>(i)];
    }

    void push_back(const T& value) { items_.push_back(value); }
    // Entries beyond the old count come back as a fresh T, never as what an earlier fill left.
    void resize(int n) {
        if (n < 0) throw std::out_of_range("CheckedTable: size " + std::to_string(n));
        items_.resize(static_cast<std::size_t>(n));
    }
    void reserve(int n) { items_.reserve(static_cast<std::size_t>(std::max(n, 0))); }
    void clear() { items_.clear(); }

    T* begin() { return items_.data(); }
    T* end() { return items_.data() + items_.size(); }
    const T* begin() const { return items_.data(); }
    const T* end() const { return items_.data() + items_.size(); }
    const T* data() const { return items_.data(); }

    bool operator==(const CheckedTable&) const = default;

  private:
    std::vector<T> items_;
};

// One face's vertex indices in boundary order, as a checked view into its face list. It stays
// valid until the list is changed.
class FaceView {
  public:
    FaceView() = default;
    FaceView(const int* first, int count) : first_(first), count_(count) {}

    int size() const { return count_; }
    bool empty() const { return count_ == 0; }
    int operator[](int k) const {
        tablecheck::index("Face", k, static_cast<std::size_t>(count_));
        return first_[k];
    }
    int front() const { return (*this)[0]; }
    int back() const { return (*this)[count_ - 1]; }
    const int* begin() const { return first_; }
    const int* end() const { return first_ + count_; }
    std::span<const int> span() const { return {first_, static_cast<std::size_t>(count_)}; }
    std::vector<int> toVector() const { return {begin(), end()}; }

    friend bool operator==(FaceView a, FaceView b) {
        if (a.count_ != b.count_) return false;
        for (int k = 0; k < a.count_; ++k)
            if (a.first_[k] != b.first_[k]) return false;
        return true;
    }

  private:
    const int* first_ = nullptr;
    int count_ = 0;
};

// The faces of a figure: all vertex indices one after the other, and where each face begins. Reading
// a face allocates nothing; the renderer walks the list every frame.
class FaceList {
  public:
    int size() const { return static_cast<int>(starts_.size()) - 1; }
    bool empty() const { return size() == 0; }
    // Vertex indices of all faces together.
    int indexCount() const { return static_cast<int>(indices_.size()); }

    FaceView operator[](int f) const {
        tablecheck::index("FaceList", f, starts_.size() - 1);
        const auto at = static_cast<std::size_t>(f);
        return {indices_.data() + starts_[at], starts_[at + 1] - starts_[at]};
    }
    FaceView face(int f) const { return (*this)[f]; }
    // The face's indices to change in place (reversing it, say); its length stays.
    std::span<int> writable(int f) {
        tablecheck::index("FaceList", f, starts_.size() - 1);
        const auto at = static_cast<std::size_t>(f);
        return {indices_.data() + starts_[at], static_cast<std::size_t>(starts_[at + 1] - starts_[at])};
    }

    void push_back(std::span<const int> corners) {
        if (ownsCorners(corners)) return push_back(std::vector<int>(corners.begin(), corners.end()));
        indices_.insert(indices_.end(), corners.begin(), corners.end());
        starts_.push_back(static_cast<int>(indices_.size()));
    }
    void push_back(std::initializer_list<int> corners) { push_back(std::span<const int>(corners.begin(), corners.size())); }
    void push_back(FaceView corners) { push_back(corners.span()); }
    // Puts other corners in place of face f's, of whatever number.
    void replace(int f, std::span<const int> corners) {
        if (ownsCorners(corners)) return replace(f, std::vector<int>(corners.begin(), corners.end()));
        tablecheck::index("FaceList", f, starts_.size() - 1);
        const auto at = static_cast<std::size_t>(f);
        const int from = starts_[at], to = starts_[at + 1];
        const int grown = static_cast<int>(corners.size()) - (to - from);
        indices_.erase(indices_.begin() + from, indices_.begin() + to);
        indices_.insert(indices_.begin() + from, corners.begin(), corners.end());
        for (std::size_t k = at + 1; k < starts_.size(); ++k)
            starts_[k] += grown;
    }
    void replace(int f, std::initializer_list<int> corners) {
        replace(f, std::span<const int>(corners.begin(), corners.size()));
    }
    // Keeps the first n faces, or adds empty ones up to n.
    void resize(int n) {
        if (n < 0) throw std::out_of_range("FaceList: size " + std::to_string(n));
        if (n <= size()) {
            starts_.resize(static_cast<std::size_t>(n) + 1);
            indices_.resize(static_cast<std::size_t>(starts_.back()));
        } else {
            starts_.resize(static_cast<std::size_t>(n) + 1, static_cast<int>(indices_.size()));
        }
    }
    void reserve(int faces, int indices) {
        starts_.reserve(static_cast<std::size_t>(std::max(faces, 0)) + 1);
        indices_.reserve(static_cast<std::size_t>(std::max(indices, 0)));
    }
    void clear() {
        indices_.clear();
        starts_.assign(1, 0);
    }
    // The most corners of any face (0 for none).
    int longestFace() const {
        int longest = 0;
        for (std::size_t f = 0; f + 1 < starts_.size(); ++f)
            longest = std::max(longest, starts_[f + 1] - starts_[f]);
        return longest;
    }

    class Iterator {
      public:
        Iterator(const FaceList* list, int f) : list_(list), f_(f) {}
        FaceView operator*() const { return (*list_)[f_]; }
        Iterator& operator++() {
            ++f_;
            return *this;
        }
        bool operator==(const Iterator&) const = default;

      private:
        const FaceList* list_;
        int f_;
    };
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

    bool operator==(const FaceList&) const = default;

  private:
    // Corners read from this list itself (a face of it pushed again) are copied before the list
    // changes under them.
    bool ownsCorners(std::span<const int> corners) const {
        return !corners.empty() && !indices_.empty() && corners.data() >= indices_.data() &&
               corners.data() < indices_.data() + indices_.size();
    }

    std::vector<int> indices_;
    std::vector<int> starts_{0}; // face f runs from starts_[f] to starts_[f + 1]
};

} // namespace kesmora
