#include "ksef/InvoiceTexts.h"

#include <QHash>
#include <QRegularExpression>

namespace {

QString Lookup(const QHash<QString, QString> &names, const QString &code) { return names.value(code, code); }

} // namespace

QString InvoiceKindName(const QString &code) {
  static const QHash<QString, QString> names = {
      {QStringLiteral("VAT"), QStringLiteral("Faktura podstawowa")},
      {QStringLiteral("KOR"), QStringLiteral("Faktura korygująca")},
      {QStringLiteral("ZAL"), QStringLiteral("Faktura zaliczkowa")},
      {QStringLiteral("ROZ"), QStringLiteral("Faktura rozliczeniowa")},
      {QStringLiteral("UPR"), QStringLiteral("Faktura uproszczona")},
      {QStringLiteral("KOR_ZAL"), QStringLiteral("Faktura korygująca fakturę zaliczkową")},
      {QStringLiteral("KOR_ROZ"), QStringLiteral("Faktura korygująca fakturę rozliczeniową")},
  };
  return Lookup(names, code);
}

QString PartyRoleName(const QString &code) {
  static const QHash<QString, QString> names = {
      {QStringLiteral("1"), QStringLiteral("Faktor")},
      {QStringLiteral("2"), QStringLiteral("Odbiorca")},
      {QStringLiteral("3"), QStringLiteral("Podmiot pierwotny")},
      {QStringLiteral("4"), QStringLiteral("Dodatkowy nabywca")},
      {QStringLiteral("5"), QStringLiteral("Wystawca faktury")},
      {QStringLiteral("6"), QStringLiteral("Dokonujący płatności")},
      {QStringLiteral("7"), QStringLiteral("Jednostka samorządu terytorialnego - wystawca")},
      {QStringLiteral("8"), QStringLiteral("Jednostka samorządu terytorialnego - odbiorca")},
      {QStringLiteral("9"), QStringLiteral("Członek grupy VAT - wystawca")},
      {QStringLiteral("10"), QStringLiteral("Członek grupy VAT - odbiorca")},
      {QStringLiteral("11"), QStringLiteral("Pracownik")},
  };
  return Lookup(names, code);
}

QString PaymentFormName(const QString &code) {
  static const QHash<QString, QString> names = {
      {QStringLiteral("1"), QStringLiteral("Gotówka")}, {QStringLiteral("2"), QStringLiteral("Karta")},
      {QStringLiteral("3"), QStringLiteral("Bon")},     {QStringLiteral("4"), QStringLiteral("Czek")},
      {QStringLiteral("5"), QStringLiteral("Kredyt")},  {QStringLiteral("6"), QStringLiteral("Przelew")},
      {QStringLiteral("7"), QStringLiteral("Mobilna")},
  };
  return Lookup(names, code);
}

QString CorrectionTypeName(const QString &code) {
  static const QHash<QString, QString> names = {
      {QStringLiteral("1"), QStringLiteral("Korekta skutkująca w dacie ujęcia faktury pierwotnej")},
      {QStringLiteral("2"), QStringLiteral("Korekta skutkująca w dacie wystawienia faktury korygującej")},
      {QStringLiteral("3"), QStringLiteral("Korekta skutkująca w dacie innej, w tym gdy dla różnych pozycji faktury "
                                           "korygującej daty te są różne")},
  };
  return Lookup(names, code);
}

QString VatSummaryRateName(const QString &key) {
  static const QHash<QString, QString> names = {
      {QStringLiteral("1"), QStringLiteral("23% lub 22%")},
      {QStringLiteral("2"), QStringLiteral("8% lub 7%")},
      {QStringLiteral("3"), QStringLiteral("5%")},
      {QStringLiteral("4"), QStringLiteral("4% lub 3% (ryczałt dla taksówek)")},
      {QStringLiteral("5"), QStringLiteral("Procedura szczególna OSS")},
      {QStringLiteral("6"), QStringLiteral("0%")},
      {QStringLiteral("6_1"), QStringLiteral("0% (kraj)")},
      {QStringLiteral("6_2"), QStringLiteral("0% (WDT)")},
      {QStringLiteral("6_3"), QStringLiteral("0% (eksport)")},
      {QStringLiteral("7"), QStringLiteral("zwolnione od podatku")},
      {QStringLiteral("8"), QStringLiteral("np. z wyłączeniem art. 100 ust. 1 pkt 4")},
      {QStringLiteral("9"), QStringLiteral("np. art. 100 ust. 1 pkt 4")},
      {QStringLiteral("10"), QStringLiteral("odwrotne obciążenie")},
      {QStringLiteral("11"), QStringLiteral("procedura marży")},
  };
  return Lookup(names, key);
}

QString LineRateName(const QString &rate) {
  static const QRegularExpression percent(QStringLiteral(R"(^(\d+)(\s+.*)?$)"));
  const QRegularExpressionMatch match = percent.match(rate);
  return match.hasMatch() ? match.captured(1) + u'%' + match.captured(2) : rate;
}

QString MarginProcedureName(const QString &element) {
  static const QHash<QString, QString> names = {
      {QStringLiteral("P_PMarzy_2"), QStringLiteral("biura podróży")},
      {QStringLiteral("P_PMarzy_3_1"), QStringLiteral("towary używane")},
      {QStringLiteral("P_PMarzy_3_2"), QStringLiteral("dzieła sztuki")},
      {QStringLiteral("P_PMarzy_3_3"), QStringLiteral("przedmioty kolekcjonerskie i antyki")},
  };
  return Lookup(names, element);
}

QString ExemptionBasisName(const QString &element) {
  static const QHash<QString, QString> names = {
      {QStringLiteral("P_19A"), QStringLiteral("Przepis ustawy albo aktu wydanego na podstawie ustawy")},
      {QStringLiteral("P_19B"), QStringLiteral("Przepis dyrektywy 2006/112/WE")},
      {QStringLiteral("P_19C"), QStringLiteral("Inna podstawa prawna")},
  };
  return Lookup(names, element);
}

QString TimeUnitName(const QString &unit) {
  static const QHash<QString, QString> names = {
      {QStringLiteral("Dzien"), QStringLiteral("dni")},        {QStringLiteral("Dzień"), QStringLiteral("dni")},
      {QStringLiteral("Tydzien"), QStringLiteral("tygodni")},  {QStringLiteral("Tydzień"), QStringLiteral("tygodni")},
      {QStringLiteral("Miesiac"), QStringLiteral("miesięcy")}, {QStringLiteral("Miesiąc"), QStringLiteral("miesięcy")},
      {QStringLiteral("Rok"), QStringLiteral("lat")},
  };
  return Lookup(names, unit);
}
