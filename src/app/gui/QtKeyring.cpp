#include "app/gui/QtKeyring.h"

#include "model/Exception.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace {

const QString Service = QStringLiteral("Pavena KSeF");

void RunToEnd(QKeychain::Job &job) {
  QEventLoop loop;
  bool finished = false;
  QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
    finished = true;
    loop.quit();
  });
  job.setAutoDelete(false);
  job.start();
  // A keyring that is missing altogether may answer at once.
  if (!finished)
    loop.exec();
}

// The keyring's own words are English and technical: the user reads only that it did not answer.
[[noreturn]] void FailWith(const QKeychain::Job &job) {
  const QString message = job.error() == QKeychain::AccessDeniedByUser || job.error() == QKeychain::AccessDenied
                              ? QStringLiteral("Pęk kluczy pulpitu odmówił dostępu")
                              : QStringLiteral("Pęk kluczy pulpitu nie odpowiada");
  throw Exception(message, job.errorString());
}

} // namespace

std::optional<QByteArray> TQtKeyring::Read(const QString &key) {
  QKeychain::ReadPasswordJob job(Service);
  job.setKey(key);
  RunToEnd(job);
  if (job.error() == QKeychain::EntryNotFound)
    return std::nullopt;
  if (job.error() != QKeychain::NoError)
    FailWith(job);
  return job.binaryData();
}

void TQtKeyring::Write(const QString &key, const QByteArray &secret) {
  QKeychain::WritePasswordJob job(Service);
  job.setKey(key);
  job.setBinaryData(secret);
  RunToEnd(job);
  if (job.error() != QKeychain::NoError)
    FailWith(job);
}

void TQtKeyring::Remove(const QString &key) {
  QKeychain::DeletePasswordJob job(Service);
  job.setKey(key);
  RunToEnd(job);
  if (job.error() != QKeychain::NoError && job.error() != QKeychain::EntryNotFound)
    FailWith(job);
}
