#include "settings/IniFile.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// The bank page saves BANKI.INI as one TIniFile: every section erased, then Konto1..KontoN
// written anew with their five keys, over a file that held the same register.
void SaveRegister(const QString &fileName, qint64 accounts) {
  TIniFile bank(fileName);
  for (const QString &section : bank.ReadSections())
    bank.EraseSection(section);
  for (qint64 i = 1; i <= accounts; ++i) {
    const QString section = QStringLiteral("Konto%1").arg(i);
    bank.WriteString(section, QStringLiteral("Opis"), QStringLiteral("Rachunek %1").arg(i));
    bank.WriteString(section, QStringLiteral("NIP"), QStringLiteral("1234563218"));
    bank.WriteString(section, QStringLiteral("Name"), QStringLiteral("Płatnik S.A."));
    bank.WriteString(section, QStringLiteral("IBAN"), QStringLiteral("PL27114020040000300201355387"));
    bank.WriteString(section, QStringLiteral("BIC"), QStringLiteral("BREXPLPW"));
  }
  bank.Save();
}

void BM_SaveBankRegister(benchmark::State &state) {
  QTemporaryDir dir;
  const QString fileName = dir.filePath(QStringLiteral("BANKI.INI"));
  SaveRegister(fileName, state.range(0));
  for (auto _ : state)
    SaveRegister(fileName, state.range(0));
  state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_SaveBankRegister)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace
