#include "pdf/GeneratorArguments.h"

#include "model/Exception.h"

#include <optional>

TGeneratorArguments ParseGeneratorArguments(const QStringList &arguments, const QString &defaultQrBase) {
  std::optional<QString> input;
  std::optional<QString> type;
  std::optional<QString> ksefNumber;
  std::optional<QString> qrBase;
  std::optional<QString> pdfPath;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString &name = arguments[i];
    std::optional<QString> *target = name == QStringLiteral("-i")         ? &input
                                     : name == QStringLiteral("-t")       ? &type
                                     : name == QStringLiteral("--nrKSeF") ? &ksefNumber
                                     : name == QStringLiteral("--qrCode") ? &qrBase
                                     : name == QStringLiteral("-o")       ? &pdfPath
                                                                          : nullptr;
    if (!target)
      throw Exception(QStringLiteral("Nieznany argument: %1").arg(name));
    if (*target)
      throw Exception(QStringLiteral("Argument %1 został podany więcej niż raz").arg(name));
    if (i + 1 >= arguments.size())
      throw Exception(QStringLiteral("Argument %1 wymaga wartości").arg(name));
    *target = arguments[++i];
  }
  if (!input || input->isEmpty())
    throw Exception(QStringLiteral("Brak pliku faktury (-i PLIK.xml)"));
  if (type && *type != QStringLiteral("invoice"))
    throw Exception(QStringLiteral("Nieobsługiwany rodzaj dokumentu: %1 (dozwolony: invoice)").arg(*type));
  return {*input, ksefNumber.value_or(QString()), qrBase.value_or(defaultQrBase), pdfPath.value_or(QString())};
}

QString GeneratorUsage() {
  return QStringLiteral("Użycie: Velmira -i PLIK.xml -t invoice [--nrKSeF NUMER] [--qrCode ADRES] [-o PLIK.PDF]\n"
                        "Zapisuje obok faktury KSeF jej obraz PDF: z PLIK.xml powstaje PLIK.PDF;\n"
                        "z -o zapisuje go pod podaną ścieżką.");
}
