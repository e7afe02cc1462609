#pragma once

#include "pdf/QrCode.h"

#include <QString>
#include <QStringList>
#include <variant>
#include <vector>

// The parts a PDF page is made of, in reading order. The invoice is turned into these, and the
// page writer lays them out on A4 pages; neither knows the other's business.

// The top of the first page.
struct TTitleBlock {
  QString Kind;
  QString Number;
  QString KsefNumber;
};

struct THeadingBlock {
  QString Text;
};

// A line of text, e.g. a sentence of the annotations.
struct TTextBlock {
  QString Text;
  bool Bold = false;
};

struct TField {
  QString Label;
  QString Value;
};

// Labels with their values, one pair a line.
struct TFieldsBlock {
  std::vector<TField> Fields;
};

// A party of the invoice in a box: its role as the title, its name, then its details.
struct TPartyBox {
  QString Title;
  QString Name;
  QStringList Lines;
};

// Parties laid side by side, two to a row.
struct TPartiesBlock {
  std::vector<TPartyBox> Parties;
};

struct TTableColumn {
  QString Title;
  // Share of the table's width, relative to the other columns.
  double Weight = 1;
  // Numbers are right-aligned.
  bool Numeric = false;
};

// A table whose header row is repeated on every page it runs onto.
struct TTableBlock {
  std::vector<TTableColumn> Columns;
  std::vector<QStringList> Rows;
};

// A prominent amount on the right: "Kwota należności ogółem: 1 234,56 PLN".
struct TTotalBlock {
  QString Label;
  QString Value;
};

// The verification code with the KSeF number (when known) and the link below it.
struct TQrBlock {
  TQrCode Code;
  QString KsefNumber;
  QString Link;
};

using TPdfBlock = std::variant<TTitleBlock, THeadingBlock, TTextBlock, TFieldsBlock, TPartiesBlock, TTableBlock,
                               TTotalBlock, TQrBlock>;

// What every page carries at its foot besides the page number.
struct TPageFooter {
  QString Text;
};
