#include "TestSupport.h"
#include "ksefapi/KsefPackage.h"
#include "model/Exception.h"

#include <QtEndian>
#include <gtest/gtest.h>

// The package's ZIP directory is bounded from its end record, before the ZIP library reads it.

namespace {

template <typename T> QByteArray Le(T value) {
  QByteArray bytes(sizeof(T), '\0');
  qToLittleEndian(value, bytes.data());
  return bytes;
}

// The classic end-of-central-directory record.
QByteArray EndRecord(quint16 entries, quint32 directorySize, quint32 directoryOffset) {
  return "PK\x05\x06" + Le<quint16>(0) + Le<quint16>(0) + Le(entries) + Le(entries) + Le(directorySize) +
         Le(directoryOffset) + Le<quint16>(0);
}

// A ZIP64 end record at `position` declaring `entries`, its locator and the classic record
// that points to it.
QByteArray Zip64End(quint64 position, quint64 entries) {
  const QByteArray record = "PK\x06\x06" + Le<quint64>(44) + Le<quint16>(45) + Le<quint16>(45) + Le<quint32>(0) +
                            Le<quint32>(0) + Le(entries) + Le(entries) + Le<quint64>(0) + Le<quint64>(position);
  const QByteArray locator = "PK\x06\x07" + Le<quint32>(0) + Le(position) + Le<quint32>(1);
  return record + locator + EndRecord(0xFFFF, 0xFFFFFFFF, 0xFFFFFFFF);
}

struct TDirectoryCase {
  const char *Name;
  QByteArray Zip;
  qint64 AnnouncedInvoices;
  const char *Message;
};

void PrintTo(const TDirectoryCase &c, std::ostream *os) { *os << c.Name; }

class TKsefPackageDirectoryTest : public ::testing::TestWithParam<TDirectoryCase> {};

TEST_P(TKsefPackageDirectoryTest, IsRefusedFromTheEndRecord) {
  const TDirectoryCase &c = GetParam();
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("paczka.zip"), c.Zip);
  try {
    const TKsefPackage package(dir.File(QStringLiteral("paczka.zip")), c.AnnouncedInvoices);
    ADD_FAILURE() << "the package was read";
  } catch (const Exception &error) {
    EXPECT_EQ(error.Message(), QString::fromUtf8(c.Message));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Packages, TKsefPackageDirectoryTest,
    ::testing::Values(
        // 3 invoices announced: 3 entries and _metadata.json.
        TDirectoryCase{"moreEntriesThanAnnounced", EndRecord(5, 0, 0), 3,
                       "Paczka faktur z KSeF zapowiada w spisie archiwum ZIP wpisów: 5, a może ich mieć najwyżej 4 "
                       "(zapowiedziane faktury i _metadata.json); nie zapisano z niej żadnej faktury."},
        // KSeF's 10,000 a package bound whatever it announced.
        TDirectoryCase{"zip64EntriesBeyondKsefLimit", Zip64End(0, 70000), 20000,
                       "Paczka faktur z KSeF zapowiada w spisie archiwum ZIP wpisów: 70000, a może ich mieć najwyżej "
                       "10001 (zapowiedziane faktury i _metadata.json); nie zapisano z niej żadnej faktury."},
        // Few entries declared, but a directory of 5,000 bytes for at most 4 of them.
        TDirectoryCase{"directoryLargerThanItsEntries", QByteArray(5000, 'x') + EndRecord(1, 0, 0), 3,
                       "Spis archiwum ZIP paczki faktur z KSeF jest większy, niż mieści się w nim 4 wpisów "
                       "(zapowiedziane faktury i _metadata.json); nie zapisano z niej żadnej faktury."},
        TDirectoryCase{"zip64LocatorPointingNowhere", QByteArray(100, 'x') + Zip64End(50, 1).mid(56), 3,
                       "Paczka faktur z KSeF nie jest czytelnym archiwum ZIP; nie zapisano z niej żadnej faktury."},
        TDirectoryCase{"noEndRecord", QByteArray("PK\x03\x04 no end"), 3,
                       "Paczka faktur z KSeF nie jest czytelnym archiwum ZIP; nie zapisano z niej żadnej faktury."}),
    [](const auto &info) { return std::string(info.param.Name); });

} // namespace
