#pragma once

#include "model/Exception.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <sys/resource.h>

// Lets GoogleTest print QString values in failure messages.
void PrintTo(const QString &text, std::ostream *os);

// A file of the shared folder beside the project (official schemas, sample invoices).
// Throws with a clear message when the folder is missing.
QString SharedPath(const QString &relative);

// A small hand-written input of tests/fixtures/.
QString FixturePath(const QString &name);

// The standard output of an outside tool run to its end; a failure to run it fails the test.
QString ToolOutput(const QString &program, const QStringList &arguments);

// The text of the PDF file as pdftotext (poppler-utils) reads it, pages apart by form feeds.
QString PdfText(const QString &pdfFile);

// A fresh directory removed with everything in it at the end of the test.
class TTempDir {
public:
  TTempDir();
  QString Path() const;
  QString File(const QString &name) const;
  void WriteBytes(const QString &name, const QByteArray &bytes) const;
  QByteArray ReadBytes(const QString &name) const;

private:
  QTemporaryDir FDir;
};

// Lowers this process's file size limit while the object lives. The limit binds root too, and
// a write past it fails with EFBIG instead of ending the process: a stand-in for a full disk.
class TFileSizeLimit {
public:
  explicit TFileSizeLimit(rlim_t bytes);
  ~TFileSizeLimit();
  TFileSizeLimit(const TFileSizeLimit &) = delete;
  TFileSizeLimit &operator=(const TFileSizeLimit &) = delete;

private:
  rlimit FPrevious{};
  void (*FPreviousHandler)(int) = nullptr;
};

// Success when the file is a pain.001.001.09 document valid against the official schema;
// otherwise the validator's messages.
::testing::AssertionResult IsValidPain001(const QString &fileName);

// The statement must throw an Exception whose message is exactly `expected`.
#define EXPECT_THROW_MESSAGE(statement, expected)                                                                      \
  do {                                                                                                                 \
    try {                                                                                                              \
      statement;                                                                                                       \
      ADD_FAILURE() << "Expected an Exception from: " #statement;                                                      \
    } catch (const Exception &error_) {                                                                                \
      EXPECT_EQ(error_.Message(), QString(expected));                                                                  \
    }                                                                                                                  \
  } while (false)
