// SPDX-License-Identifier: MIT
// A row of spans that follow one another with no gap: each span is kept as its first tick and
// what it shows, packed small, and ends where the next one begins (the newest where the row
// does). A span costs one small record however long it lasts, so a long run's rows grow with
// its changes, not its ticks. Read, a row yields whole spans with their First and Last.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>

namespace kelpa {

// Packed: the stored form of a Span, with From(span), First() and With(last) giving it back.
template <typename Span, typename Packed>
class RunRow {
 public:
  class Iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = Span;
    using difference_type = std::ptrdiff_t;
    using reference = Span;
    struct Arrow {
      Span Value;
      const Span* operator->() const { return &Value; }
    };
    using pointer = Arrow;

    Iterator() = default;
    Iterator(const RunRow* row, std::size_t index) : row_(row), index_(index) {}
    Span operator*() const { return (*row_)[index_]; }
    Arrow operator->() const { return {**this}; }
    Span operator[](difference_type n) const { return *(*this + n); }
    Iterator& operator++() { return *this += 1; }
    Iterator operator++(int) {
      const Iterator was = *this;
      ++*this;
      return was;
    }
    Iterator& operator--() { return *this -= 1; }
    Iterator operator--(int) {
      const Iterator was = *this;
      --*this;
      return was;
    }
    Iterator& operator+=(difference_type n) {
      index_ = static_cast<std::size_t>(static_cast<difference_type>(index_) + n);
      return *this;
    }
    Iterator& operator-=(difference_type n) { return *this += -n; }
    friend Iterator operator+(Iterator it, difference_type n) { return it += n; }
    friend Iterator operator+(difference_type n, Iterator it) { return it += n; }
    friend Iterator operator-(Iterator it, difference_type n) { return it -= n; }
    friend difference_type operator-(const Iterator& a, const Iterator& b) {
      return static_cast<difference_type>(a.index_) - static_cast<difference_type>(b.index_);
    }
    friend bool operator==(const Iterator& a, const Iterator& b) { return a.index_ == b.index_; }
    friend auto operator<=>(const Iterator& a, const Iterator& b) { return a.index_ <=> b.index_; }

   private:
    const RunRow* row_ = nullptr;
    std::size_t index_ = 0;
  };

  bool empty() const { return runs_.empty(); }
  std::size_t size() const { return runs_.size(); }
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, runs_.size()}; }
  Span operator[](std::size_t i) const {
    return runs_[i].With(i + 1 < runs_.size() ? runs_[i + 1].First() - 1 : last_);
  }
  Span back() const { return (*this)[runs_.size() - 1]; }

  // The last tick of the newest span; below its First while it has just begun.
  std::int64_t Last() const { return last_; }
  void SetLast(std::int64_t last) { last_ = last; }
  // A span after the newest, which ends where it begins.
  void PushBack(const Span& span) {
    runs_.push_back(Packed::From(span));
    last_ = span.Last;
  }
  // The newest span given up: the one before it now ends where the row does.
  void PopBack() { runs_.pop_back(); }
  // The newest span showing something else from the same First.
  void ReplaceBack(const Span& span) { runs_.back() = Packed::From(span); }
  // Spans that end before tick go; the one holding it stays whole.
  void DropBefore(std::int64_t tick) {
    while (runs_.size() >= 2 && runs_[1].First() <= tick) {
      runs_.pop_front();
    }
    if (runs_.size() == 1 && last_ < tick) {
      runs_.pop_front();
    }
  }

 private:
  std::deque<Packed> runs_;
  std::int64_t last_ = -1;
};

}  // namespace kelpa
