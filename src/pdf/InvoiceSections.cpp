#include "pdf/InvoiceSections.h"

#include "model/Amount.h"
#include "model/Text.h"
#include "ksef/InvoiceTexts.h"
#include "pdf/PolishFormat.h"

#include <algorithm>
#include <optional>

namespace {

// Collects the parts of the PDF; each Add* leaves out what is empty.
class TSections {
public:
  void Add(TPdfBlock block) { FBlocks.push_back(std::move(block)); }

  // A heading followed by its parts, or nothing when no part has anything to show.
  void AddSection(const QString &heading, std::vector<TPdfBlock> parts) {
    if (parts.empty())
      return;
    Add(THeadingBlock{heading});
    for (TPdfBlock &part : parts)
      Add(std::move(part));
  }

  std::vector<TPdfBlock> Take() { return std::move(FBlocks); }

private:
  std::vector<TPdfBlock> FBlocks;
};

void AddField(std::vector<TField> &fields, const QString &label, const QString &value) {
  if (!value.isEmpty())
    fields.push_back({label, value});
}

void AddFields(std::vector<TPdfBlock> &parts, std::vector<TField> fields) {
  if (!fields.empty())
    parts.push_back(TFieldsBlock{std::move(fields)});
}

void AddTable(std::vector<TPdfBlock> &parts, std::vector<TTableColumn> columns, std::vector<QStringList> rows) {
  if (!rows.empty())
    parts.push_back(TTableBlock{std::move(columns), std::move(rows)});
}

// The same, without the columns after the first that no row fills.
void AddTableOfFilledColumns(std::vector<TPdfBlock> &parts, std::vector<TTableColumn> columns,
                             std::vector<QStringList> rows) {
  for (qsizetype column = static_cast<qsizetype>(columns.size()) - 1; column > 0; --column) {
    const bool filled =
        std::any_of(rows.begin(), rows.end(), [&](const QStringList &row) { return !row.value(column).isEmpty(); });
    if (filled)
      continue;
    columns.erase(columns.begin() + column);
    for (QStringList &row : rows)
      row.removeAt(column);
  }
  AddTable(parts, std::move(columns), std::move(rows));
}

std::optional<TAmount> AmountOf(const QString &decimal) {
  if (decimal.isEmpty())
    return TAmount();
  try {
    return TAmount::ParsePolish(QString(decimal).replace(u'.', u','));
  } catch (const std::exception &) {
    return std::nullopt;
  }
}

bool IsZero(const QString &decimal) { return AmountOf(decimal) == TAmount(); }

QString DecimalOf(TAmount amount) { return FormatAmount(amount); }

QString AmountWithCurrency(const QString &decimal, const QString &currency) {
  return currency.isEmpty() ? PolishAmount(decimal) : PolishAmount(decimal) + u' ' + currency;
}

TPartyBox PartyBox(const QString &title, const TInvoiceParty &party) {
  QStringList lines;
  if (!party.Nip.isEmpty())
    lines.append(QStringLiteral("NIP: ") + (party.TaxPrefix.isEmpty() ? QString() : party.TaxPrefix + u' ') +
                 party.Nip);
  if (!party.EuVatNumber.isEmpty())
    lines.append(QStringLiteral("Numer VAT UE: ") + party.EuVatNumber);
  if (!party.OtherId.isEmpty())
    lines.append(QStringLiteral("Numer identyfikacyjny: ") + party.OtherId);
  if (!party.InternalId.isEmpty())
    lines.append(QStringLiteral("Identyfikator wewnętrzny: ") + party.InternalId);
  if (party.WithoutId)
    lines.append(QStringLiteral("Brak identyfikatora podatkowego"));
  lines += party.Address;
  if (!party.CountryCode.isEmpty() && party.CountryCode != QStringLiteral("PL"))
    lines.append(QStringLiteral("Kraj: ") + party.CountryCode);
  if (!party.CorrespondenceAddress.isEmpty())
    lines.append(QStringLiteral("Adres do korespondencji: ") + party.CorrespondenceAddress.join(QStringLiteral(", ")));
  for (const QString &email : party.Emails)
    lines.append(QStringLiteral("E-mail: ") + email);
  for (const QString &phone : party.Phones)
    lines.append(QStringLiteral("Tel.: ") + phone);
  if (!party.CustomerNumber.isEmpty())
    lines.append(QStringLiteral("Numer klienta: ") + party.CustomerNumber);
  if (!party.BuyerId.isEmpty())
    lines.append(QStringLiteral("Identyfikator nabywcy: ") + party.BuyerId);
  if (!party.Share.isEmpty())
    lines.append(QStringLiteral("Udział: ") + PolishNumber(party.Share, 0) + u'%');
  return {title, party.Name, lines};
}

void AddParties(TSections &sections, const TInvoiceDocument &invoice) {
  TPartiesBlock parties;
  parties.Parties.push_back(PartyBox(QStringLiteral("Sprzedawca"), invoice.Seller));
  parties.Parties.push_back(PartyBox(QStringLiteral("Nabywca"), invoice.Buyer));
  for (const TInvoiceParty &other : invoice.OtherParties)
    parties.Parties.push_back(PartyBox(other.Role.isEmpty() ? QStringLiteral("Podmiot trzeci") : other.Role, other));
  sections.Add(std::move(parties));
}

void AddDetails(TSections &sections, const TInvoiceDocument &invoice) {
  std::vector<TField> fields;
  AddField(fields, QStringLiteral("Data wystawienia"), PolishDate(invoice.IssueDate));
  AddField(fields, QStringLiteral("Miejsce wystawienia"), invoice.IssuePlace);
  AddField(fields, QStringLiteral("Data dokonania lub zakończenia dostawy towarów lub wykonania usługi"),
           PolishDate(invoice.SaleDate));
  if (!invoice.PeriodFrom.isEmpty() || !invoice.PeriodTo.isEmpty())
    AddField(fields, QStringLiteral("Okres, którego dotyczy faktura"),
             QStringLiteral("od %1 do %2").arg(PolishDate(invoice.PeriodFrom), PolishDate(invoice.PeriodTo)));
  AddField(fields, QStringLiteral("Kod waluty"), invoice.Currency);
  AddField(fields, QStringLiteral("Kurs waluty"), PolishNumber(invoice.ExchangeRate, 0));
  std::vector<TPdfBlock> parts;
  AddFields(parts, std::move(fields));
  sections.AddSection(QStringLiteral("Szczegóły"), std::move(parts));
}

std::vector<QStringList> ReferenceRows(const std::vector<TInvoiceReference> &references) {
  std::vector<QStringList> rows;
  for (const TInvoiceReference &reference : references)
    rows.push_back({PolishDate(reference.IssueDate), reference.Number, reference.KsefNumber});
  return rows;
}

void AddCorrection(TSections &sections, const TInvoiceDocument &invoice) {
  std::vector<TPdfBlock> parts;
  std::vector<TField> fields;
  AddField(fields, QStringLiteral("Przyczyna korekty"), invoice.CorrectionReason);
  AddField(fields, QStringLiteral("Typ skutku korekty"),
           invoice.CorrectionType.isEmpty() ? QString() : CorrectionTypeName(invoice.CorrectionType));
  AddField(fields, QStringLiteral("Okres, którego dotyczy rabat"), invoice.CorrectedPeriod);
  AddFields(parts, std::move(fields));
  AddTable(parts,
           {{QStringLiteral("Data wystawienia faktury korygowanej"), 2},
            {QStringLiteral("Numer faktury korygowanej"), 3},
            {QStringLiteral("Numer KSeF faktury korygowanej"), 3}},
           ReferenceRows(invoice.CorrectedInvoices));
  sections.AddSection(QStringLiteral("Dane faktury korygowanej"), std::move(parts));

  std::vector<TPdfBlock> advances;
  std::vector<QStringList> rows;
  for (const TInvoiceReference &advance : invoice.AdvanceInvoices)
    rows.push_back({advance.Number, advance.KsefNumber});
  AddTable(advances,
           {{QStringLiteral("Numer faktury zaliczkowej"), 1}, {QStringLiteral("Numer KSeF faktury zaliczkowej"), 1}},
           std::move(rows));
  sections.AddSection(QStringLiteral("Faktury zaliczkowe"), std::move(advances));
}

// The name cell: the name, then what else the invoice says of the line.
QString LineDescription(const TInvoiceLine &line) {
  QStringList parts{line.Name};
  if (!line.Codes.isEmpty())
    parts.append(line.Codes.join(QStringLiteral(", ")));
  if (!line.DeliveryDate.isEmpty())
    parts.append(QStringLiteral("Data dostawy: ") + PolishDate(line.DeliveryDate));
  if (!line.ExchangeRate.isEmpty())
    parts.append(QStringLiteral("Kurs waluty: ") + PolishNumber(line.ExchangeRate, 0));
  if (line.BeforeCorrection)
    parts.append(QStringLiteral("(stan przed korektą)"));
  return parts.join(u'\n');
}

// The lines table; a column no line fills is left out.
TTableBlock LinesTable(const std::vector<TInvoiceLine> &lines, bool grossPrices) {
  const QString basis = grossPrices ? QStringLiteral("brutto") : QStringLiteral("netto");
  struct TLineColumn {
    TTableColumn Column;
    QString (*Cell)(const TInvoiceLine &);
    bool Always;
  };
  const std::vector<TLineColumn> candidates = {
      {{QStringLiteral("Lp."), 0.6, true}, [](const TInvoiceLine &l) { return l.Number; }, true},
      {{QStringLiteral("Nazwa towaru lub usługi"), 5}, [](const TInvoiceLine &l) { return LineDescription(l); }, true},
      {{QStringLiteral("Cena jedn. ") + basis, 1.6, true},
       [](const TInvoiceLine &l) { return PolishAmount(l.UnitPrice); },
       false},
      {{QStringLiteral("Ilość"), 1.1, true}, [](const TInvoiceLine &l) { return PolishNumber(l.Quantity, 0); }, false},
      {{QStringLiteral("Miara"), 0.9}, [](const TInvoiceLine &l) { return l.Unit; }, false},
      {{QStringLiteral("Rabat"), 1.2, true}, [](const TInvoiceLine &l) { return PolishAmount(l.Discount); }, false},
      {{QStringLiteral("Stawka podatku"), 1.1}, [](const TInvoiceLine &l) { return LineRateName(l.Rate); }, false},
      {{QStringLiteral("Wartość sprzedaży ") + basis, 1.8, true},
       [](const TInvoiceLine &l) { return PolishAmount(l.Value); },
       true},
  };
  TTableBlock table;
  std::vector<QString (*)(const TInvoiceLine &)> cells;
  for (const TLineColumn &candidate : candidates) {
    const bool used = candidate.Always || std::any_of(lines.begin(), lines.end(), [&](const TInvoiceLine &line) {
                        return !candidate.Cell(line).isEmpty();
                      });
    if (used) {
      table.Columns.push_back(candidate.Column);
      cells.push_back(candidate.Cell);
    }
  }
  for (const TInvoiceLine &line : lines) {
    QStringList row;
    for (const auto cell : cells)
      row.append(cell(line));
    table.Rows.push_back(row);
  }
  return table;
}

void AddLines(TSections &sections, const TInvoiceDocument &invoice) {
  if (!invoice.Lines.empty()) {
    std::vector<TPdfBlock> parts;
    parts.push_back(TTextBlock{invoice.GrossPrices ? QStringLiteral("Faktura wystawiona w cenach brutto")
                                                   : QStringLiteral("Faktura wystawiona w cenach netto")});
    parts.push_back(LinesTable(invoice.Lines, invoice.GrossPrices));
    sections.AddSection(QStringLiteral("Pozycje"), std::move(parts));
  }
  if (!invoice.OrderLines.empty() || !invoice.OrderValue.isEmpty()) {
    std::vector<TPdfBlock> parts;
    std::vector<TField> fields;
    AddField(fields, QStringLiteral("Wartość zamówienia lub umowy z uwzględnieniem kwoty podatku"),
             invoice.OrderValue.isEmpty() ? QString() : AmountWithCurrency(invoice.OrderValue, invoice.Currency));
    AddFields(parts, std::move(fields));
    if (!invoice.OrderLines.empty())
      parts.push_back(LinesTable(invoice.OrderLines, false));
    sections.AddSection(QStringLiteral("Zamówienie lub umowa"), std::move(parts));
  }
}

void AddVatSummary(TSections &sections, const TInvoiceDocument &invoice) {
  const bool inPln = std::any_of(invoice.VatRates.begin(), invoice.VatRates.end(),
                                 [](const TVatRateTotal &rate) { return !rate.VatPln.isEmpty(); });
  std::vector<TTableColumn> columns = {{QStringLiteral("Lp."), 0.6, true},
                                       {QStringLiteral("Stawka podatku"), 3.2},
                                       {QStringLiteral("Kwota netto"), 1.6, true},
                                       {QStringLiteral("Kwota podatku"), 1.6, true},
                                       {QStringLiteral("Kwota brutto"), 1.6, true}};
  if (inPln)
    columns.push_back({QStringLiteral("Kwota podatku w PLN"), 1.6, true});
  std::vector<QStringList> rows;
  for (const TVatRateTotal &rate : invoice.VatRates) {
    // A rate the issuing software filled with zeros says nothing.
    if (IsZero(rate.Net) && IsZero(rate.Vat) && IsZero(rate.VatPln))
      continue;
    const std::optional<TAmount> net = AmountOf(rate.Net);
    const std::optional<TAmount> vat = AmountOf(rate.Vat);
    const QString gross = net && vat ? PolishAmount(DecimalOf(*net + *vat)) : QString();
    QStringList row{QString::number(rows.size() + 1), VatSummaryRateName(rate.Key), PolishAmount(rate.Net),
                    rate.Vat.isEmpty() ? QString() : PolishAmount(rate.Vat), gross};
    if (inPln)
      row.append(rate.VatPln.isEmpty() ? QString() : PolishAmount(rate.VatPln));
    rows.push_back(row);
  }
  std::vector<TPdfBlock> parts;
  AddTable(parts, std::move(columns), std::move(rows));
  sections.AddSection(QStringLiteral("Podsumowanie stawek podatku"), std::move(parts));
}

void AddAnnotations(TSections &sections, const TInvoiceDocument &invoice) {
  const TAnnotations &a = invoice.Annotations;
  std::vector<TPdfBlock> parts;
  const auto note = [&](bool set, const QString &text) {
    if (set)
      parts.push_back(TTextBlock{text});
  };
  note(a.CashMethod, QStringLiteral("Metoda kasowa"));
  note(a.SelfBilling, QStringLiteral("Samofakturowanie"));
  note(a.ReverseCharge, QStringLiteral("Odwrotne obciążenie"));
  note(a.SplitPayment, QStringLiteral("Mechanizm podzielonej płatności"));
  note(a.Exempt, QStringLiteral("Dostawa towarów lub świadczenie usług zwolnionych od podatku"));
  if (!a.ExemptionBasis.isEmpty())
    parts.push_back(TFieldsBlock{{{ExemptionBasisName(a.ExemptionKind), a.ExemptionBasis}}});
  note(a.NewMeansOfTransport, QStringLiteral("Wewnątrzwspólnotowa dostawa nowych środków transportu"));
  note(a.TriangularSimplified,
       QStringLiteral("Procedura uproszczona - faktura wystawiona przez drugiego w kolejności podatnika w transakcji "
                      "trójstronnej"));
  note(!a.MarginProcedure.isEmpty(), QStringLiteral("Procedura marży - ") + MarginProcedureName(a.MarginProcedure));
  note(invoice.ReceiptInvoice, QStringLiteral("Faktura, o której mowa w art. 109 ust. 3d ustawy"));
  note(invoice.RelatedParties,
       QStringLiteral("Istniejące powiązania między nabywcą a dokonującym dostawy towarów lub usługodawcą"));
  sections.AddSection(QStringLiteral("Adnotacje"), std::move(parts));
}

std::vector<QStringList> AmountRows(const std::vector<TAmountEntry> &entries) {
  std::vector<QStringList> rows;
  for (const TAmountEntry &entry : entries)
    rows.push_back({entry.Reason, PolishAmount(entry.Amount)});
  return rows;
}

void AddSettlement(TSections &sections, const TInvoiceDocument &invoice) {
  const TSettlement &s = invoice.Settlement;
  std::vector<TPdfBlock> parts;
  AddTable(parts, {{QStringLiteral("Obciążenia: powód"), 4}, {QStringLiteral("Kwota"), 1.5, true}},
           AmountRows(s.Charges));
  AddTable(parts, {{QStringLiteral("Odliczenia: powód"), 4}, {QStringLiteral("Kwota"), 1.5, true}},
           AmountRows(s.Deductions));
  std::vector<TField> fields;
  const auto amount = [&](const QString &decimal) {
    return decimal.isEmpty() ? QString() : AmountWithCurrency(decimal, invoice.Currency);
  };
  AddField(fields, QStringLiteral("Suma obciążeń"), amount(s.ChargesTotal));
  AddField(fields, QStringLiteral("Suma odliczeń"), amount(s.DeductionsTotal));
  AddField(fields, QStringLiteral("Kwota do zapłaty"), amount(s.ToPay));
  AddField(fields, QStringLiteral("Kwota nadpłacona do rozliczenia lub zwrotu"), amount(s.ToSettle));
  AddFields(parts, std::move(fields));
  sections.AddSection(QStringLiteral("Rozliczenie"), std::move(parts));
}

std::vector<QStringList> AccountRows(const std::vector<TBankAccount> &accounts) {
  std::vector<QStringList> rows;
  for (const TBankAccount &account : accounts)
    rows.push_back({GroupedAccount(account.Number), account.Swift, account.BankName, account.Description});
  return rows;
}

void AddAccounts(std::vector<TPdfBlock> &parts, const QString &title, const std::vector<TBankAccount> &accounts) {
  AddTableOfFilledColumns(parts,
                          {{title, 3.4},
                           {QStringLiteral("Kod SWIFT"), 1.2},
                           {QStringLiteral("Nazwa banku"), 2.2},
                           {QStringLiteral("Opis rachunku"), 1.6}},
                          AccountRows(accounts));
}

void AddPayment(TSections &sections, const TInvoiceDocument &invoice) {
  const TPaymentInfo &p = invoice.Payment;
  std::vector<TPdfBlock> parts;
  std::vector<TField> fields;
  if (p.Paid)
    AddField(fields, QStringLiteral("Informacja o płatności"), QStringLiteral("Zapłacono"));
  else if (p.PartlyPaid)
    AddField(fields, QStringLiteral("Informacja o płatności"), QStringLiteral("Zapłacono częściowo"));
  AddField(fields, QStringLiteral("Data zapłaty"), PolishDate(p.PaidDate));
  for (const TDatedEntry &part : p.PartPayments)
    AddField(
        fields, QStringLiteral("Zapłata częściowa"),
        Trim(AmountWithCurrency(part.Text, invoice.Currency) + QStringLiteral(" z dnia ") + PolishDate(part.Date)));
  for (const TDatedEntry &due : p.DueDates) {
    QStringList texts;
    if (!due.Date.isEmpty())
      texts.append(PolishDate(due.Date));
    if (!due.Text.isEmpty())
      texts.append(due.Text);
    AddField(fields, QStringLiteral("Termin płatności"), texts.join(QStringLiteral(", ")));
  }
  AddField(fields, QStringLiteral("Forma płatności"), p.Form.isEmpty() ? p.OtherForm : PaymentFormName(p.Form));
  AddField(fields, QStringLiteral("Warunki skonta"), p.DiscountTerms);
  AddField(fields, QStringLiteral("Wysokość skonta"), p.DiscountAmount);
  AddField(fields, QStringLiteral("Link do płatności"), p.PaymentLink);
  AddFields(parts, std::move(fields));
  AddAccounts(parts, QStringLiteral("Rachunek bankowy"), p.Accounts);
  AddAccounts(parts, QStringLiteral("Rachunek bankowy faktora"), p.FactorAccounts);
  sections.AddSection(QStringLiteral("Płatność"), std::move(parts));
}

void AddTerms(TSections &sections, const TInvoiceDocument &invoice) {
  const TTransactionTerms &t = invoice.Terms;
  std::vector<TField> fields;
  const auto dated = [](const TDatedEntry &entry) {
    return entry.Date.isEmpty() ? entry.Text : Trim(entry.Text + QStringLiteral(" z dnia ") + PolishDate(entry.Date));
  };
  for (const TDatedEntry &contract : t.Contracts)
    AddField(fields, QStringLiteral("Umowa"), dated(contract));
  for (const TDatedEntry &order : t.Orders)
    AddField(fields, QStringLiteral("Zamówienie"), dated(order));
  AddField(fields, QStringLiteral("Numer partii towaru"), t.Batches.join(QStringLiteral(", ")));
  AddField(fields, QStringLiteral("Warunki dostawy"), t.DeliveryTerms);
  AddField(fields, QStringLiteral("Kurs umowny"), PolishNumber(t.AgreedRate, 0));
  AddField(fields, QStringLiteral("Waluta umowna"), t.AgreedCurrency);
  std::vector<TPdfBlock> parts;
  AddFields(parts, std::move(fields));
  sections.AddSection(QStringLiteral("Warunki transakcji"), std::move(parts));
}

void AddAdditionalInfo(TSections &sections, const TInvoiceDocument &invoice) {
  const bool withLines = std::any_of(invoice.AdditionalInfo.begin(), invoice.AdditionalInfo.end(),
                                     [](const TAdditionalInfo &info) { return !info.Line.isEmpty(); });
  std::vector<TTableColumn> columns;
  if (withLines)
    columns.push_back({QStringLiteral("Wiersz"), 0.7, true});
  columns.push_back({QStringLiteral("Rodzaj informacji"), 2.5});
  columns.push_back({QStringLiteral("Treść informacji"), 4});
  std::vector<QStringList> rows;
  for (const TAdditionalInfo &info : invoice.AdditionalInfo)
    rows.push_back(withLines ? QStringList{info.Line, info.Key, info.Value} : QStringList{info.Key, info.Value});
  std::vector<TPdfBlock> parts;
  AddTable(parts, std::move(columns), std::move(rows));
  sections.AddSection(QStringLiteral("Dodatkowe informacje"), std::move(parts));
}

void AddFooter(TSections &sections, const TInvoiceDocument &invoice) {
  std::vector<TPdfBlock> parts;
  for (const QString &text : invoice.FooterTexts)
    parts.push_back(TTextBlock{text});
  for (const TRegistryEntry &registry : invoice.Registries) {
    std::vector<TField> fields;
    AddField(fields, QStringLiteral("Pełna nazwa"), registry.FullName);
    AddField(fields, QStringLiteral("KRS"), registry.Krs);
    AddField(fields, QStringLiteral("REGON"), registry.Regon);
    AddField(fields, QStringLiteral("BDO"), registry.Bdo);
    AddFields(parts, std::move(fields));
  }
  sections.AddSection(QStringLiteral("Stopka faktury"), std::move(parts));
}

} // namespace

std::vector<TPdfBlock> InvoiceSections(const TInvoiceDocument &invoice, const QString &ksefNumber,
                                       const QString &verificationLink) {
  TSections sections;
  sections.Add(TTitleBlock{invoice.Kind.isEmpty() ? QStringLiteral("Faktura") : InvoiceKindName(invoice.Kind),
                           invoice.Number, ksefNumber});
  AddParties(sections, invoice);
  AddDetails(sections, invoice);
  AddCorrection(sections, invoice);
  AddLines(sections, invoice);
  if (!invoice.Total.isEmpty())
    sections.Add(
        TTotalBlock{QStringLiteral("Kwota należności ogółem:"), AmountWithCurrency(invoice.Total, invoice.Currency)});
  AddVatSummary(sections, invoice);
  AddAnnotations(sections, invoice);
  AddSettlement(sections, invoice);
  AddPayment(sections, invoice);
  AddTerms(sections, invoice);
  AddAdditionalInfo(sections, invoice);
  AddFooter(sections, invoice);
  std::vector<TPdfBlock> code{TQrBlock{QrCodeOf(verificationLink.toUtf8()), ksefNumber, verificationLink}};
  sections.AddSection(QStringLiteral("Sprawdź, czy faktura znajduje się w KSeF"), std::move(code));
  return sections.Take();
}

QString FooterText(const TInvoiceDocument &invoice, const QString &ksefNumber) {
  QString text = QStringLiteral("Faktura nr ") + invoice.Number;
  if (!ksefNumber.isEmpty())
    text += QStringLiteral(", numer KSeF ") + ksefNumber;
  return text;
}
