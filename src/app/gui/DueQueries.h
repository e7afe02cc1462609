#pragma once

#include "app/commands/DueInvoices.h"

#include <QMap>
#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

// What the page "Do zapłaty" shows: the whole list as last read, and which of it the filter
// lets through, with their sums per currency.
struct TDueListing {
  std::shared_ptr<const std::vector<TDueInvoice>> Invoices;
  // Positions in Invoices, in its order (by due date).
  std::vector<int> Shown;
  QMap<QString, TAmount> ShownSums;
};

// Reads and filters the list "Do zapłaty" on a thread of its own, so that the window answers
// while thousands of invoice files are read or a filter runs through them. The list is read
// once per Load and kept there; a filter runs over what was read. A new Load cancels the read
// before it; a newer Load or Filter drops the answer of what was asked before it. Answers
// arrive as signals on the window's thread.
class TDueQueries : public QObject {
  Q_OBJECT

public:
  // Reads the list, ending with TCancelled soon after the cancellation is cancelled.
  using TRead = std::function<std::vector<TDueInvoice>(const TCancellation &)>;

  explicit TDueQueries(QObject *parent = nullptr);
  ~TDueQueries() override;

  // Reads the list anew with `read`, then shows what `filter` lets through of it.
  void Load(TRead read, const TDueFilter &filter);
  // Shows what `filter` lets through of the list read last (or being read).
  void Filter(const TDueFilter &filter);

  // Whether an answer is still to come.
  bool Busy() const { return FPending > 0; }

signals:
  void Listed(const TDueListing &listing);
  void Failed(const QString &message);
  // Every answer asked for has come.
  void Idle();

private:
  // Runs `work` on the reading thread; what it gives reaches `answer` here unless something
  // newer was asked meanwhile.
  void Post(std::function<std::optional<TDueListing>()> work);
  void Answered();
  // On the reading thread: the list read last, filtered.
  TDueListing Filtered(const TDueFilter &filter) const;

  // Written on this thread, read on the reading thread as well.
  std::atomic<int> FGeneration{0};
  int FPending = 0;
  std::shared_ptr<TCancellation> FReadCancellation;
  // Used on the reading thread only.
  std::shared_ptr<const std::vector<TDueInvoice>> FInvoices;
  QThread FThread;
  // Lives on FThread: the work posted to it runs there.
  QObject *FReading;
};
