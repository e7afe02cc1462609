#pragma once

#include <QString>
#include <QTextDocument>
#include <memory>

// The width of the text of an A4 page as QTextDocument::print() lays it out (in the document's
// pixels): the page less its 2 cm margins at either side.
qreal A4TextWidth();

// The Markdown text as a document whose images are read from `imagesDir` and scaled down to at
// most `textWidth`, so that a screenshot never runs off the page. Throws std::runtime_error
// naming an image that cannot be read.
std::unique_ptr<QTextDocument> MarkdownDocument(const QString &markdown, const QString &imagesDir, qreal textWidth);

// Prints the document as an A4 PDF with page numbers. Throws std::runtime_error when the file
// cannot be written.
void WritePdf(QTextDocument &document, const QString &fileName, const QString &title);
