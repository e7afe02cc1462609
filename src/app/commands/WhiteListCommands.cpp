#include "app/commands/WhiteListCommands.h"

#include "app/commands/WhiteListCheck.h"
#include "model/Exception.h"
#include "model/PolishNumbers.h"
#include "settings/IniFile.h"
#include "whitelist/FlatFileDownload.h"
#include "whitelist/WhiteListIndex.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>

namespace {

const QString DefaultAddress = QStringLiteral("https://plikplaski.mf.gov.pl/pliki/");

QString DayText(QDate day) { return day.toString(QStringLiteral("dd.MM.yyyy")); }

QString LoadedMessage(const TFlatFileLoad &load) {
  return QStringLiteral("Wczytano plik płaski białej listy podatników VAT z dnia %1: skróty podatników czynnych: %2, "
                        "zwolnionych: %3, maski rachunków wirtualnych: %4; czas: %5 s.")
      .arg(DayText(load.Date), PolishInteger(qint64(load.Counts.Active)), PolishInteger(qint64(load.Counts.Exempt)),
           PolishInteger(qint64(load.Counts.Masks)), PolishSeconds(load.Milliseconds));
}

QString StatusText(TWhiteListStatus status) {
  switch (status) {
  case TWhiteListStatus::Active: return QStringLiteral("figuruje w wykazie podatników VAT jako podatnik czynny");
  case TWhiteListStatus::Exempt: return QStringLiteral("figuruje w wykazie podatników VAT jako podatnik zwolniony");
  case TWhiteListStatus::Mask:
    return QStringLiteral("figuruje w wykazie podatników VAT jako rachunek wirtualny, według maski banku");
  case TWhiteListStatus::NotFound: return QStringLiteral("nie figuruje w wykazie podatników VAT");
  }
  return {};
}

template <typename Work> TFlatFileOutcome Outcome(Work work) {
  try {
    return {work(), {}};
  } catch (const TCancelled &cancelled) {
    return {std::nullopt, cancelled.Message(), true};
  } catch (const std::exception &error) {
    return {std::nullopt, ErrorMessage(error)};
  }
}

} // namespace

TWhiteListCommands::TWhiteListCommands(THost &host) : FHost(host) {}

TFlatFileOutcome TWhiteListCommands::LoadFlatFile(const TAppPaths &paths, QDate today, const QString &flatFile,
                                                  IProgress &progress) {
  return Outcome([&] { return TWhiteListStore(paths.WhiteListDirectory()).Load(flatFile, today, progress); });
}

TFlatFileOutcome TWhiteListCommands::DownloadFlatFile(const TAppPaths &paths, QDate today, QDate day,
                                                      IProgress &progress) {
  return Outcome([&] {
    const TIniFile settings(paths.SettingsFile());
    QString address = settings.ReadString(QStringLiteral("BialaLista"), QStringLiteral("Adres"), DefaultAddress);
    if (!address.endsWith(u'/'))
      address += u'/';
    const QString name = day.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".7z");
    const QString directory = paths.WhiteListDirectory();
    // Some hundreds of megabytes are not fetched for an index that would not be kept.
    TWhiteListStore(directory).CheckKept(day);
    if (!QDir().mkpath(directory))
      throw Exception(QStringLiteral("Nie można utworzyć katalogu „%1”.").arg(directory));
    const QString archive = QDir(directory).filePath(name);
    DownloadFile({address + name, settings.ReadString(QStringLiteral("BialaLista"), QStringLiteral("PlikCA"))}, archive,
                 progress);
    // Some hundreds of megabytes that the index now holds.
    const auto removeArchive = qScopeGuard([&] { QFile::remove(archive); });
    return TWhiteListStore(directory).Load(archive, today, progress);
  });
}

bool TWhiteListCommands::LogOutcome(const TFlatFileOutcome &outcome) {
  if (outcome.Cancelled) {
    FHost.Log.AppendLog(outcome.Error, false);
    return false;
  }
  if (!outcome.Loaded) {
    FHost.Log.AppendError(outcome.Error);
    return false;
  }
  FHost.Log.AppendLog(LoadedMessage(*outcome.Loaded), true);
  return true;
}

bool TWhiteListCommands::Load(const QString &flatFile, IProgress &progress) {
  return LogOutcome(LoadFlatFile(FHost.Paths, FHost.Now().date(), flatFile, progress));
}

bool TWhiteListCommands::Download(std::optional<QDate> day, IProgress &progress) {
  const QDate today = FHost.Now().date();
  return LogOutcome(DownloadFlatFile(FHost.Paths, today, day.value_or(today), progress));
}

TAccountCheck TWhiteListCommands::CheckAccount(const QString &nip, const QString &account, std::optional<QDate> day) {
  const std::optional<TWhiteListPair> pair = WhiteListPair(nip, account);
  if (!pair) {
    QString problem = WhiteListPairProblem(nip, account);
    problem[0] = problem[0].toUpper();
    FHost.Log.AppendError(problem + u'.');
    return TAccountCheck::Malformed;
  }
  const TWhiteListStore store(FHost.Paths.WhiteListDirectory());
  const QList<QDate> days = store.Days();
  if (days.isEmpty()) {
    FHost.Log.AppendError(QStringLiteral("Nie wczytano jeszcze pliku płaskiego białej listy: pavena-cli biala-lista "
                                         "wczytaj PLIK albo pavena-cli biala-lista pobierz."));
    return TAccountCheck::Unchecked;
  }
  const QDate wanted = day.value_or(FHost.Now().date());
  const std::optional<QDate> dataDay = store.NewestUpTo(wanted);
  if (!dataDay) {
    FHost.Log.AppendError(QStringLiteral("Brak pliku płaskiego białej listy z dnia %1 ani wcześniejszego (najstarszy "
                                         "wczytany jest z dnia %2), a wykaz z późniejszego dnia nie pokazuje stanu "
                                         "z dnia %1.")
                              .arg(DayText(wanted), DayText(days.first())));
    return TAccountCheck::Unchecked;
  }
  if (*dataDay != wanted)
    FHost.Log.AppendWarning(QStringLiteral("Brak pliku płaskiego białej listy z dnia %1: rachunek sprawdzono według "
                                           "najnowszego wcześniejszego, z dnia %2.")
                                .arg(DayText(wanted), DayText(*dataDay)));
  try {
    const TWhiteListStatus status = TWhiteListIndex(store.IndexFile(*dataDay)).Find(pair->Nip, pair->Account);
    FHost.Log.AppendLog(QStringLiteral("NIP %1, rachunek %2: %3 (biała lista, dane z dnia %4).")
                            .arg(pair->Nip, pair->Account, StatusText(status), DayText(*dataDay)),
                        false);
    return status == TWhiteListStatus::NotFound ? TAccountCheck::NotFound : TAccountCheck::Found;
  } catch (const std::exception &error) {
    FHost.Log.AppendError(ErrorMessage(error));
    return TAccountCheck::Unchecked;
  }
}

QString TWhiteListCommands::LoadedListText(const TAppPaths &paths) {
  const QList<QDate> days = TWhiteListStore(paths.WhiteListDirectory()).Days();
  if (days.isEmpty())
    return QStringLiteral("Biała lista: nie wczytano pliku płaskiego");
  return QStringLiteral("Biała lista: dane z dnia %1").arg(DayText(days.last()));
}
