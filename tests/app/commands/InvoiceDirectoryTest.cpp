#include "app/commands/InvoiceDirectory.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QStringList FileNames(const QStringList &paths) {
  QStringList names;
  for (const QString &path : paths)
    names.append(QFileInfo(path).fileName());
  return names;
}

} // namespace

TEST(InvoiceDirectoryTest, TakesXmlFilesDirectlyInsideInAnyLetterCaseSortedByName) {
  TTempDir dir;
  for (const char *name : {"b.xml", "A.XML", ".ukryta.xml", "c.Xml", "faktura.xml.old", "faktura.xmlx", "notatki.txt"})
    dir.WriteBytes(QString::fromLatin1(name), "x");
  QDir(dir.Path()).mkdir(QStringLiteral("podkatalog"));
  dir.WriteBytes(QStringLiteral("podkatalog/d.xml"), "x");
  QDir(dir.Path()).mkdir(QStringLiteral("katalog.xml"));

  const QStringList files = ListInvoiceFiles(dir.Path());

  EXPECT_EQ(FileNames(files), QStringList({".ukryta.xml", "A.XML", "b.xml", "c.Xml"}));
  EXPECT_EQ(files.value(1), dir.Path() + QStringLiteral("/A.XML"));
}

// Letters sort regardless of case (so "[" comes before "A"), names equal so by their exact
// text, and names with Polish letters among the others.
TEST(InvoiceDirectoryTest, SortsByLettersRegardlessOfCaseThenByExactName) {
  const QStringList sorted = {"[x].xml",  "A.xml", "a.xml", "b-2.xml", "B_1.xml",   "z.xml",
                              "Zeta.xml", "Ą.xml", "ą.xml", "źle.xml", "Źródło.xml"};
  TTempDir dir;
  for (qsizetype i = sorted.size() - 1; i >= 0; --i)
    dir.WriteBytes(sorted[i], "x");

  EXPECT_EQ(FileNames(ListInvoiceFiles(dir.Path())), sorted);
}

TEST(InvoiceDirectoryTest, AFifoNamedLikeAnInvoiceIsNotTaken) {
  TTempDir dir;
  ASSERT_EQ(mkfifo(dir.File(QStringLiteral("kolejka.xml")).toLocal8Bit().constData(), 0600), 0);
  dir.WriteBytes(QStringLiteral("faktura.xml"), "x");

  EXPECT_EQ(FileNames(ListInvoiceFiles(dir.Path())), QStringList{QStringLiteral("faktura.xml")});
}

TEST(InvoiceDirectoryTest, ADirectoryWithoutInvoiceFilesFails) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("faktura.xml.old"), "x");
  QDir(dir.Path()).mkdir(QStringLiteral("archiwum"));
  dir.WriteBytes(QStringLiteral("archiwum/stara.xml"), "x");
  EXPECT_THROW_MESSAGE(ListInvoiceFiles(dir.Path()),
                       QStringLiteral("Katalog %1 nie zawiera żadnego pliku faktury (*.xml)").arg(dir.Path()));
}

TEST(InvoiceDirectoryTest, ADirectoryTextOfBlanksFails) {
  EXPECT_THROW_MESSAGE(ListInvoiceFiles(QStringLiteral(" \t ")),
                       QStringLiteral("Nieprawidłowa ścieżka katalogu z plikami XML: \" \t \""));
}

TEST(InvoiceDirectoryTest, AMissingDirectoryFails) {
  TTempDir dir;
  const QString missing = dir.File(QStringLiteral("brak"));
  EXPECT_THROW_MESSAGE(ListInvoiceFiles(missing), QStringLiteral("Katalog %1 nie istnieje").arg(missing));
}

TEST(InvoiceDirectoryTest, AFileInPlaceOfTheDirectoryFails) {
  TTempDir dir;
  dir.WriteBytes(QStringLiteral("faktura.xml"), "x");
  const QString file = dir.File(QStringLiteral("faktura.xml"));
  EXPECT_THROW_MESSAGE(ListInvoiceFiles(file), QStringLiteral("Katalog %1 nie istnieje").arg(file));
}

TEST(InvoiceDirectoryTest, AnUnreadableDirectoryFailsInsteadOfLookingEmpty) {
  TTempDir dir;
  const QString locked = dir.File(QStringLiteral("zablokowany"));
  QDir(dir.Path()).mkdir(QStringLiteral("zablokowany"));
  QFile::setPermissions(locked, QFileDevice::WriteOwner);
  if (QFileInfo(locked).isReadable()) {
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    GTEST_SKIP() << "permissions are not enforced for this user";
  }
  EXPECT_THROW_MESSAGE(ListInvoiceFiles(locked), QStringLiteral("Brak dostępu do katalogu %1").arg(locked));
  QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}
