#include "ksefapi/KsefProgress.h"

#include "model/Exception.h"

#include <QThread>

void TKsefSleeper::Wait(int seconds, const IKsefProgress &progress) {
  for (int tick = 0; tick < seconds * 10; ++tick) {
    if (progress.Cancelled())
      throw TCancelled(QStringLiteral("Pobieranie z KSeF przerwano."));
    QThread::msleep(100);
  }
  if (progress.Cancelled())
    throw TCancelled(QStringLiteral("Pobieranie z KSeF przerwano."));
}
