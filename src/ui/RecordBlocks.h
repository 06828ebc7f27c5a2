#pragma once
#include <utility>
#include <vector>

// Rows kept in blocks of a few thousand: a list growing to a hundred thousand rows never moves
// the rows it holds into fresh memory, and a clear keeps the blocks for the next load.
template <class Record> class RecordBlocks {
public:
    static constexpr size_t kBlock = 4096;
    size_t size() const { return size_; }
    const Record& operator[](size_t i) const { return blocks_[i / kBlock][i % kBlock]; }
    Record& back() { return blocks_[(size_ - 1) / kBlock].back(); }
    void push_back(Record&& r) {
        if (size_ == blocks_.size() * kBlock) {
            blocks_.emplace_back();
            blocks_.back().reserve(kBlock);
        }
        blocks_[size_ / kBlock].push_back(std::move(r));
        ++size_;
    }
    void clear() {
        for (auto& b : blocks_)
            b.clear();
        size_ = 0;
    }

private:
    std::vector<std::vector<Record>> blocks_;
    size_t size_ = 0;
};
