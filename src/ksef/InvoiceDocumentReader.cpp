#include "ksef/InvoiceDocumentReader.h"

#include "ksef/InvoiceTexts.h"
#include "model/Exception.h"
#include "model/Text.h"

namespace {

// The invoice's texts, trimmed. Text is taken leniently (whatever text an element holds), as
// a preview should show what it can rather than refuse an odd element.
QString TextOf(const TXmlElement &element) { return Trim(element.TextContent()); }

// The trimmed text of the first child named `name`; empty when there is none.
QString TextOf(const TXmlElement &node, const QString &name) { return TextOf(node.FirstChild(name)); }

// The non-empty texts of the children named `name`.
QStringList TextsOf(const TXmlElement &node, const QString &name) {
  QStringList texts;
  for (const TXmlElement &child : node.Children(name))
    if (const QString text = TextOf(child); !text.isEmpty())
      texts.append(text);
  return texts;
}

bool FlagOf(const TXmlElement &node, const QString &name) { return TextOf(node, name) == QStringLiteral("1"); }

QStringList AddressOf(const TXmlElement address) {
  QStringList lines = TextsOf(address, QStringLiteral("AdresL1")) + TextsOf(address, QStringLiteral("AdresL2"));
  const QString gln = TextOf(address, QStringLiteral("GLN"));
  if (!gln.isEmpty())
    lines.append(QStringLiteral("GLN: ") + gln);
  return lines;
}

// The party's name, NIP, country and the two address lines a transfer to it carries.
TInvoiceParty PayeeOf(const TXmlElement party) {
  TInvoiceParty result;
  const TXmlElement id = party.FirstChild(QStringLiteral("DaneIdentyfikacyjne"));
  result.Name = TextOf(id, QStringLiteral("Nazwa"));
  result.Nip = TextOf(id, QStringLiteral("NIP"));
  const TXmlElement address = party.FirstChild(QStringLiteral("Adres"));
  result.CountryCode = TextOf(address, QStringLiteral("KodKraju"));
  result.AddressLine1 = TextOf(address, QStringLiteral("AdresL1"));
  result.AddressLine2 = TextOf(address, QStringLiteral("AdresL2"));
  return result;
}

TInvoiceParty PartyOf(const TXmlElement party) {
  TInvoiceParty result = PayeeOf(party);
  const TXmlElement id = party.FirstChild(QStringLiteral("DaneIdentyfikacyjne"));
  result.TaxPrefix = TextOf(party, QStringLiteral("PrefiksPodatnika"));
  const QString euCountry = TextOf(id, QStringLiteral("KodUE"));
  const QString euNumber = TextOf(id, QStringLiteral("NrVatUE"));
  if (!euNumber.isEmpty())
    result.EuVatNumber = Trim(euCountry + u' ' + euNumber);
  const QString idNumber = TextOf(id, QStringLiteral("NrID"));
  if (!idNumber.isEmpty())
    result.OtherId = Trim(TextOf(id, QStringLiteral("KodKraju")) + u' ' + idNumber);
  result.InternalId = TextOf(id, QStringLiteral("IDWew"));
  result.WithoutId = FlagOf(id, QStringLiteral("BrakID"));
  result.Address = AddressOf(party.FirstChild(QStringLiteral("Adres")));
  result.CorrespondenceAddress = AddressOf(party.FirstChild(QStringLiteral("AdresKoresp")));
  for (const TXmlElement &contact : party.Children(QStringLiteral("DaneKontaktowe"))) {
    result.Emails += TextsOf(contact, QStringLiteral("Email"));
    result.Phones += TextsOf(contact, QStringLiteral("Telefon"));
  }
  result.CustomerNumber = TextOf(party, QStringLiteral("NrKlienta"));
  result.BuyerId = TextOf(party, QStringLiteral("IDNabywcy"));
  result.Share = TextOf(party, QStringLiteral("Udzial"));
  const QString role = TextOf(party, QStringLiteral("Rola"));
  result.Role = role.isEmpty() ? TextOf(party, QStringLiteral("OpisRoli")) : PartyRoleName(role);
  return result;
}

QStringList CodesOf(const TXmlElement &line, const QStringList &names) {
  QStringList codes;
  for (const QString &name : names)
    if (const QString code = TextOf(line, name); !code.isEmpty())
      codes.append(name + u' ' + code);
  return codes;
}

TInvoiceLine LineOf(const TXmlElement &line) {
  TInvoiceLine result;
  result.Number = TextOf(line, QStringLiteral("NrWierszaFa"));
  result.DeliveryDate = TextOf(line, QStringLiteral("P_6A"));
  result.Name = TextOf(line, QStringLiteral("P_7"));
  result.Codes = CodesOf(line, {QStringLiteral("Indeks"), QStringLiteral("GTIN"), QStringLiteral("PKWiU"),
                                QStringLiteral("CN"), QStringLiteral("PKOB")});
  result.Unit = TextOf(line, QStringLiteral("P_8A"));
  result.Quantity = TextOf(line, QStringLiteral("P_8B"));
  result.UnitPrice = TextOf(line, QStringLiteral("P_9A"));
  if (result.UnitPrice.isEmpty())
    result.UnitPrice = TextOf(line, QStringLiteral("P_9B"));
  result.Discount = TextOf(line, QStringLiteral("P_10"));
  result.Value = TextOf(line, QStringLiteral("P_11"));
  if (result.Value.isEmpty())
    result.Value = TextOf(line, QStringLiteral("P_11A"));
  result.Rate = TextOf(line, QStringLiteral("P_12"));
  result.ExchangeRate = TextOf(line, QStringLiteral("KursWaluty"));
  result.BeforeCorrection = FlagOf(line, QStringLiteral("StanPrzed"));
  return result;
}

TInvoiceLine OrderLineOf(const TXmlElement &line) {
  TInvoiceLine result;
  result.Number = TextOf(line, QStringLiteral("NrWierszaZam"));
  result.Name = TextOf(line, QStringLiteral("P_7Z"));
  result.Codes = CodesOf(line, {QStringLiteral("IndeksZ"), QStringLiteral("GTINZ"), QStringLiteral("PKWiUZ"),
                                QStringLiteral("CNZ"), QStringLiteral("PKOBZ")});
  result.Unit = TextOf(line, QStringLiteral("P_8AZ"));
  result.Quantity = TextOf(line, QStringLiteral("P_8BZ"));
  result.UnitPrice = TextOf(line, QStringLiteral("P_9AZ"));
  result.Value = TextOf(line, QStringLiteral("P_11NettoZ"));
  result.Rate = TextOf(line, QStringLiteral("P_12Z"));
  result.BeforeCorrection = FlagOf(line, QStringLiteral("StanPrzedZ"));
  return result;
}

// P_13_x, P_14_x and P_14_xW in the order of the rates.
std::vector<TVatRateTotal> VatRatesOf(const TXmlElement &fa) {
  std::vector<TVatRateTotal> rates;
  for (const char *key : {"1", "2", "3", "4", "5", "6", "6_1", "6_2", "6_3", "7", "8", "9", "10", "11"}) {
    const QString suffix = QString::fromLatin1(key);
    TVatRateTotal rate{suffix, TextOf(fa, QStringLiteral("P_13_") + suffix),
                       TextOf(fa, QStringLiteral("P_14_") + suffix),
                       TextOf(fa, QStringLiteral("P_14_") + suffix + u'W')};
    if (!rate.Net.isEmpty() || !rate.Vat.isEmpty() || !rate.VatPln.isEmpty())
      rates.push_back(rate);
  }
  return rates;
}

// P_14_1 to P_14_7, the VAT a split payment settles, without the net amounts.
std::vector<TVatRateTotal> PaymentVatRatesOf(const TXmlElement &fa) {
  std::vector<TVatRateTotal> rates;
  for (int key = 1; key <= 7; ++key) {
    const QString suffix = QString::number(key);
    if (QString vat = TextOf(fa, QStringLiteral("P_14_") + suffix); !vat.isEmpty())
      rates.push_back({suffix, QString(), std::move(vat), QString()});
  }
  return rates;
}

TAnnotations AnnotationsOf(const TXmlElement annotations) {
  TAnnotations result;
  result.CashMethod = FlagOf(annotations, QStringLiteral("P_16"));
  result.SelfBilling = FlagOf(annotations, QStringLiteral("P_17"));
  result.ReverseCharge = FlagOf(annotations, QStringLiteral("P_18"));
  result.SplitPayment = FlagOf(annotations, QStringLiteral("P_18A"));
  result.TriangularSimplified = FlagOf(annotations, QStringLiteral("P_23"));
  if (const TXmlElement exemption = annotations.FirstChild(QStringLiteral("Zwolnienie")); !exemption.IsNull()) {
    result.Exempt = FlagOf(exemption, QStringLiteral("P_19"));
    for (const QString &kind : {QStringLiteral("P_19A"), QStringLiteral("P_19B"), QStringLiteral("P_19C")})
      if (const QString basis = TextOf(exemption, kind); !basis.isEmpty()) {
        result.ExemptionKind = kind;
        result.ExemptionBasis = basis;
      }
  }
  result.NewMeansOfTransport =
      FlagOf(annotations.FirstChild(QStringLiteral("NoweSrodkiTransportu")), QStringLiteral("P_22"));
  if (const TXmlElement margin = annotations.FirstChild(QStringLiteral("PMarzy"));
      FlagOf(margin, QStringLiteral("P_PMarzy")))
    for (const QString &kind : {QStringLiteral("P_PMarzy_2"), QStringLiteral("P_PMarzy_3_1"),
                                QStringLiteral("P_PMarzy_3_2"), QStringLiteral("P_PMarzy_3_3")})
      if (FlagOf(margin, kind))
        result.MarginProcedure = kind;
  return result;
}

std::vector<TAmountEntry> AmountEntriesOf(const TXmlElement settlement, const QString &name) {
  std::vector<TAmountEntry> entries;
  for (const TXmlElement &entry : settlement.Children(name))
    entries.push_back({TextOf(entry, QStringLiteral("Kwota")), TextOf(entry, QStringLiteral("Powod"))});
  return entries;
}

TSettlement SettlementOf(const TXmlElement settlement) {
  TSettlement result;
  result.Charges = AmountEntriesOf(settlement, QStringLiteral("Obciazenia"));
  result.ChargesTotal = TextOf(settlement, QStringLiteral("SumaObciazen"));
  result.Deductions = AmountEntriesOf(settlement, QStringLiteral("Odliczenia"));
  result.DeductionsTotal = TextOf(settlement, QStringLiteral("SumaOdliczen"));
  result.ToPay = TextOf(settlement, QStringLiteral("DoZaplaty"));
  result.ToSettle = TextOf(settlement, QStringLiteral("DoRozliczenia"));
  return result;
}

std::vector<TBankAccount> AccountsOf(const TXmlElement payment, const QString &name) {
  std::vector<TBankAccount> accounts;
  for (const TXmlElement &account : payment.Children(name))
    accounts.push_back({TextOf(account, QStringLiteral("NrRB")), TextOf(account, QStringLiteral("SWIFT")),
                        TextOf(account, QStringLiteral("NazwaBanku")),
                        TextOf(account, QStringLiteral("OpisRachunku"))});
  return accounts;
}

// FA(3) describes a due date by a count, a unit and the event it runs from; FA(2) in words.
QString DueDateDescription(const TXmlElement description) {
  if (description.Children().isEmpty())
    return TextOf(description);
  const QString count = TextOf(description, QStringLiteral("Ilosc"));
  const QString unit = TextOf(description, QStringLiteral("Jednostka"));
  const QString event = TextOf(description, QStringLiteral("ZdarzeniePoczatkowe"));
  QString text = Trim(count + u' ' + (count == QStringLiteral("1") ? unit.toLower() : TimeUnitName(unit)));
  if (!event.isEmpty())
    text += QStringLiteral(" od zdarzenia: ") + event;
  return text;
}

TPaymentInfo PaymentOf(const TXmlElement payment) {
  TPaymentInfo result;
  result.Paid = FlagOf(payment, QStringLiteral("Zaplacono"));
  result.PaidDate = TextOf(payment, QStringLiteral("DataZaplaty"));
  const QString partsMark = TextOf(payment, QStringLiteral("ZnacznikZaplatyCzesciowej"));
  result.PartlyPaid = partsMark == QStringLiteral("1");
  result.PaidInParts = partsMark == QStringLiteral("2");
  for (const TXmlElement &part : payment.Children(QStringLiteral("ZaplataCzesciowa")))
    result.PartPayments.push_back({TextOf(part, QStringLiteral("DataZaplatyCzesciowej")),
                                   TextOf(part, QStringLiteral("KwotaZaplatyCzesciowej"))});
  for (const TXmlElement &term : payment.Children(QStringLiteral("TerminPlatnosci")))
    result.DueDates.push_back(
        {TextOf(term, QStringLiteral("Termin")), DueDateDescription(term.FirstChild(QStringLiteral("TerminOpis")))});
  result.Form = TextOf(payment, QStringLiteral("FormaPlatnosci"));
  if (FlagOf(payment, QStringLiteral("PlatnoscInna")))
    result.OtherForm = TextOf(payment, QStringLiteral("OpisPlatnosci"));
  result.Accounts = AccountsOf(payment, QStringLiteral("RachunekBankowy"));
  result.FactorAccounts = AccountsOf(payment, QStringLiteral("RachunekBankowyFaktora"));
  const TXmlElement discount = payment.FirstChild(QStringLiteral("Skonto"));
  result.DiscountTerms = TextOf(discount, QStringLiteral("WarunkiSkonta"));
  result.DiscountAmount = TextOf(discount, QStringLiteral("WysokoscSkonta"));
  result.PaymentLink = TextOf(payment, QStringLiteral("LinkDoPlatnosci"));
  return result;
}

std::vector<TDatedEntry> DatedEntriesOf(const TXmlElement terms, const QString &name, const QString &date,
                                        const QString &text) {
  std::vector<TDatedEntry> entries;
  for (const TXmlElement &entry : terms.Children(name))
    entries.push_back({TextOf(entry, date), TextOf(entry, text)});
  return entries;
}

TTransactionTerms TermsOf(const TXmlElement &terms) {
  TTransactionTerms result;
  result.Contracts =
      DatedEntriesOf(terms, QStringLiteral("Umowy"), QStringLiteral("DataUmowy"), QStringLiteral("NrUmowy"));
  result.Orders = DatedEntriesOf(terms, QStringLiteral("Zamowienia"), QStringLiteral("DataZamowienia"),
                                 QStringLiteral("NrZamowienia"));
  result.Batches = TextsOf(terms, QStringLiteral("NrPartiiTowaru"));
  result.DeliveryTerms = TextOf(terms, QStringLiteral("WarunkiDostawy"));
  result.AgreedRate = TextOf(terms, QStringLiteral("KursUmowny"));
  result.AgreedCurrency = TextOf(terms, QStringLiteral("WalutaUmowna"));
  return result;
}

std::vector<TInvoiceReference> CorrectedInvoicesOf(const TXmlElement &fa) {
  std::vector<TInvoiceReference> references;
  for (const TXmlElement &corrected : fa.Children(QStringLiteral("DaneFaKorygowanej")))
    references.push_back({TextOf(corrected, QStringLiteral("DataWystFaKorygowanej")),
                          TextOf(corrected, QStringLiteral("NrFaKorygowanej")),
                          TextOf(corrected, QStringLiteral("NrKSeFFaKorygowanej"))});
  return references;
}

std::vector<TInvoiceReference> AdvanceInvoicesOf(const TXmlElement &fa) {
  std::vector<TInvoiceReference> references;
  for (const TXmlElement &advance : fa.Children(QStringLiteral("FakturaZaliczkowa")))
    references.push_back({QString(), TextOf(advance, QStringLiteral("NrFaZaliczkowej")),
                          TextOf(advance, QStringLiteral("NrKSeFFaZaliczkowej"))});
  return references;
}

void ReadFooter(const TXmlElement footer, TInvoiceDocument &invoice) {
  for (const TXmlElement &info : footer.Children(QStringLiteral("Informacje")))
    invoice.FooterTexts += TextsOf(info, QStringLiteral("StopkaFaktury"));
  for (const TXmlElement &registry : footer.Children(QStringLiteral("Rejestry")))
    invoice.Registries.push_back({TextOf(registry, QStringLiteral("PelnaNazwa")),
                                  TextOf(registry, QStringLiteral("KRS")), TextOf(registry, QStringLiteral("REGON")),
                                  TextOf(registry, QStringLiteral("BDO"))});
}

// Notes each element of the seller's payment data that is more than one text node.
void NoteMixedTexts(const TXmlElement &root, TInvoiceDocument &invoice) {
  const TXmlElement seller = root.FirstChild(QStringLiteral("Podmiot1"));
  const TXmlElement fa = root.FirstChild(QStringLiteral("Fa"));
  const TXmlElement address = seller.FirstChild(QStringLiteral("Adres"));
  const std::pair<TXmlElement, QStringList> groups[] = {
      {seller.FirstChild(QStringLiteral("DaneIdentyfikacyjne")), {QStringLiteral("Nazwa"), QStringLiteral("NIP")}},
      {address, {QStringLiteral("KodKraju"), QStringLiteral("AdresL1"), QStringLiteral("AdresL2")}},
      {fa,
       {QStringLiteral("P_2"), QStringLiteral("KodWaluty"), QStringLiteral("P_15"), QStringLiteral("P_14_1"),
        QStringLiteral("P_14_2"), QStringLiteral("P_14_3"), QStringLiteral("P_14_4"), QStringLiteral("P_14_5"),
        QStringLiteral("P_14_6"), QStringLiteral("P_14_7"), QStringLiteral("P_1")}},
      {fa.FirstChild(QStringLiteral("Platnosc")).FirstChild(QStringLiteral("RachunekBankowy")),
       {QStringLiteral("NrRB")}}};
  for (const auto &[parent, names] : groups)
    for (const QString &name : names)
      try {
        parent.FirstChild(name).SingleText();
      } catch (const Exception &error) {
        invoice.MixedTexts.insert(name, error.Message());
      }
}

// The seller's payment data and nothing else, for a transfer.
TInvoiceDocument ReadPaymentData(const TXmlElement &root) {
  const TXmlElement fa = root.FirstChild(QStringLiteral("Fa"));
  TInvoiceDocument invoice;
  invoice.Seller = PayeeOf(root.FirstChild(QStringLiteral("Podmiot1")));
  invoice.Number = TextOf(fa, QStringLiteral("P_2"));
  invoice.IssueDate = TextOf(fa, QStringLiteral("P_1"));
  invoice.Currency = TextOf(fa, QStringLiteral("KodWaluty"));
  invoice.VatRates = PaymentVatRatesOf(fa);
  invoice.Total = TextOf(fa, QStringLiteral("P_15"));
  invoice.Kind = TextOf(fa, QStringLiteral("RodzajFaktury"));
  invoice.Annotations.SplitPayment = FlagOf(fa.FirstChild(QStringLiteral("Adnotacje")), QStringLiteral("P_18A"));
  invoice.Payment = PaymentOf(fa.FirstChild(QStringLiteral("Platnosc")));
  NoteMixedTexts(root, invoice);
  return invoice;
}

} // namespace

TInvoiceDocument ReadInvoiceDocument(const TXmlDocument &document, TInvoiceExtent extent) {
  const TXmlElement root = document.Root();
  if (extent == TInvoiceExtent::Payment)
    return ReadPaymentData(root);
  const TXmlElement seller = root.FirstChild(QStringLiteral("Podmiot1"));
  const TXmlElement fa = root.FirstChild(QStringLiteral("Fa"));
  TInvoiceDocument invoice;
  const TXmlElement header = root.FirstChild(QStringLiteral("Naglowek"));
  if (const QString variant = TextOf(header, QStringLiteral("WariantFormularza")); !variant.isEmpty())
    invoice.Schema = QStringLiteral("FA (%1)").arg(variant);
  invoice.SystemInfo = TextOf(header, QStringLiteral("SystemInfo"));
  invoice.Number = TextOf(fa, QStringLiteral("P_2"));
  invoice.IssueDate = TextOf(fa, QStringLiteral("P_1"));
  invoice.Kind = TextOf(fa, QStringLiteral("RodzajFaktury"));
  invoice.IssuePlace = TextOf(fa, QStringLiteral("P_1M"));
  invoice.SaleDate = TextOf(fa, QStringLiteral("P_6"));
  const TXmlElement period = fa.FirstChild(QStringLiteral("OkresFa"));
  invoice.PeriodFrom = TextOf(period, QStringLiteral("P_6_Od"));
  invoice.PeriodTo = TextOf(period, QStringLiteral("P_6_Do"));
  invoice.Currency = TextOf(fa, QStringLiteral("KodWaluty"));
  invoice.ExchangeRate = TextOf(fa, QStringLiteral("KursWalutyZ"));

  invoice.Seller = PartyOf(seller);
  invoice.Buyer = PartyOf(root.FirstChild(QStringLiteral("Podmiot2")));
  for (const TXmlElement &other : root.Children(QStringLiteral("Podmiot3")))
    invoice.OtherParties.push_back(PartyOf(other));

  invoice.CorrectionReason = TextOf(fa, QStringLiteral("PrzyczynaKorekty"));
  invoice.CorrectionType = TextOf(fa, QStringLiteral("TypKorekty"));
  invoice.CorrectedInvoices = CorrectedInvoicesOf(fa);
  invoice.CorrectedPeriod = TextOf(fa, QStringLiteral("OkresFaKorygowanej"));
  invoice.AdvanceInvoices = AdvanceInvoicesOf(fa);

  for (const TXmlElement &line : fa.Children(QStringLiteral("FaWiersz"))) {
    invoice.Lines.push_back(LineOf(line));
    if (!line.FirstChild(QStringLiteral("P_9B")).IsNull() || !line.FirstChild(QStringLiteral("P_11A")).IsNull())
      invoice.GrossPrices = true;
  }
  if (const TXmlElement order = fa.FirstChild(QStringLiteral("Zamowienie")); !order.IsNull()) {
    invoice.OrderValue = TextOf(order, QStringLiteral("WartoscZamowienia"));
    for (const TXmlElement &line : order.Children(QStringLiteral("ZamowienieWiersz")))
      invoice.OrderLines.push_back(OrderLineOf(line));
  }
  invoice.VatRates = VatRatesOf(fa);
  invoice.Total = TextOf(fa, QStringLiteral("P_15"));

  invoice.Annotations = AnnotationsOf(fa.FirstChild(QStringLiteral("Adnotacje")));
  invoice.Settlement = SettlementOf(fa.FirstChild(QStringLiteral("Rozliczenie")));
  invoice.Payment = PaymentOf(fa.FirstChild(QStringLiteral("Platnosc")));
  invoice.Terms = TermsOf(fa.FirstChild(QStringLiteral("WarunkiTransakcji")));
  invoice.ReceiptInvoice = FlagOf(fa, QStringLiteral("FP"));
  invoice.RelatedParties = FlagOf(fa, QStringLiteral("TP"));
  for (const TXmlElement &info : fa.Children(QStringLiteral("DodatkowyOpis")))
    invoice.AdditionalInfo.push_back({TextOf(info, QStringLiteral("NrWiersza")), TextOf(info, QStringLiteral("Klucz")),
                                      TextOf(info, QStringLiteral("Wartosc"))});
  ReadFooter(root.FirstChild(QStringLiteral("Stopka")), invoice);
  NoteMixedTexts(root, invoice);
  return invoice;
}
