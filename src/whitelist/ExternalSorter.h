#pragma once

#include <QByteArrayView>
#include <QString>
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <queue>
#include <vector>

// A file of sorted records written by the sorter and read back once while merging. Errors
// (a full disk) fail with a Polish message naming the directory.
class TRunFile {
public:
  explicit TRunFile(const QString &directory);
  ~TRunFile();
  TRunFile(const TRunFile &) = delete;
  TRunFile &operator=(const TRunFile &) = delete;

  void Write(const void *data, std::size_t size);
  // Ends writing and starts reading from the beginning.
  void Rewind();
  // False at the end of the file.
  bool Read(void *data, std::size_t size);

private:
  QString FDirectory;
  QString FName;
  std::FILE *FFile = nullptr;
};

// Sorts fixed-size records that may not fit in memory: runs of `runRecords` records are sorted
// in memory and written to files in `runDirectory`, then merged. Memory stays at one run.
template <std::size_t N> class TExternalSorter {
public:
  using TRecord = std::array<std::uint8_t, N>;

  TExternalSorter(QString runDirectory, std::size_t runRecords)
      : FRunDirectory(std::move(runDirectory)), FRunRecords(runRecords) {}

  void Add(const TRecord &record) {
    FBuffer.push_back(record);
    if (FBuffer.size() >= FRunRecords)
      Spill();
  }

  // Moves the records held in memory to a run file and gives their memory back, for when
  // other records are about to need it.
  void Spill() {
    if (FBuffer.empty())
      return;
    std::sort(FBuffer.begin(), FBuffer.end());
    FRuns.push_back(std::make_unique<TRunFile>(FRunDirectory));
    FRuns.back()->Write(FBuffer.data(), FBuffer.size() * N);
    FBuffer = {};
  }

  // Hands every record to `sink` in ascending order, in pieces.
  void WriteSorted(const std::function<void(QByteArrayView)> &sink) {
    std::sort(FBuffer.begin(), FBuffer.end());
    std::vector<std::uint8_t> out;
    out.reserve(OutputBlock);
    auto put = [&](const TRecord &record) {
      out.insert(out.end(), record.begin(), record.end());
      if (out.size() >= OutputBlock) {
        sink(QByteArrayView(out.data(), qsizetype(out.size())));
        out.clear();
      }
    };
    // The heap holds the smallest unread record of every source: the runs, and last the
    // records still in memory.
    using TEntry = std::pair<TRecord, std::size_t>;
    std::priority_queue<TEntry, std::vector<TEntry>, std::greater<>> heap;
    std::size_t memoryPosition = 0;
    auto next = [&](std::size_t source) {
      TRecord record;
      if (source < FRuns.size()) {
        if (FRuns[source]->Read(record.data(), N))
          heap.emplace(record, source);
      } else if (memoryPosition < FBuffer.size())
        heap.emplace(FBuffer[memoryPosition++], source);
    };
    for (auto &run : FRuns)
      run->Rewind();
    for (std::size_t source = 0; source <= FRuns.size(); ++source)
      next(source);
    while (!heap.empty()) {
      const TEntry top = heap.top();
      heap.pop();
      put(top.first);
      next(top.second);
    }
    if (!out.empty())
      sink(QByteArrayView(out.data(), qsizetype(out.size())));
  }

private:
  static constexpr std::size_t OutputBlock = 1 << 20;

  QString FRunDirectory;
  std::size_t FRunRecords;
  std::vector<TRecord> FBuffer;
  std::vector<std::unique_ptr<TRunFile>> FRuns;
};
