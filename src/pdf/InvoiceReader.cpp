#include "pdf/InvoiceReader.h"

#include "model/Exception.h"
#include "model/Text.h"
#include "pdf/InvoiceTexts.h"
#include "pdf/XmlTree.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// The texts of a list of children of `node`, all of them named `name`.
QStringList TextsOf(const TXmlNode *node, const QString &name) {
  QStringList texts;
  if (node)
    for (const TXmlNode *child : node->ChildrenNamed(name))
      if (const QString text = Trim(child->Text); !text.isEmpty())
        texts.append(text);
  return texts;
}

QString TextOf(const TXmlNode *node, const QString &name) { return node ? node->ChildText(name) : QString(); }

bool FlagOf(const TXmlNode *node, const QString &name) { return TextOf(node, name) == QStringLiteral("1"); }

QStringList AddressOf(const TXmlNode *address) {
  QStringList lines = TextsOf(address, QStringLiteral("AdresL1")) + TextsOf(address, QStringLiteral("AdresL2"));
  const QString gln = TextOf(address, QStringLiteral("GLN"));
  if (!gln.isEmpty())
    lines.append(QStringLiteral("GLN: ") + gln);
  return lines;
}

TInvoiceParty PartyOf(const TXmlNode *party) {
  TInvoiceParty result;
  if (!party)
    return result;
  const TXmlNode *id = party->Child(QStringLiteral("DaneIdentyfikacyjne"));
  result.Name = TextOf(id, QStringLiteral("Nazwa"));
  result.Nip = TextOf(id, QStringLiteral("NIP"));
  result.TaxPrefix = party->ChildText(QStringLiteral("PrefiksPodatnika"));
  const QString euCountry = TextOf(id, QStringLiteral("KodUE"));
  const QString euNumber = TextOf(id, QStringLiteral("NrVatUE"));
  if (!euNumber.isEmpty())
    result.EuVatNumber = Trim(euCountry + u' ' + euNumber);
  const QString idNumber = TextOf(id, QStringLiteral("NrID"));
  if (!idNumber.isEmpty())
    result.OtherId = Trim(TextOf(id, QStringLiteral("KodKraju")) + u' ' + idNumber);
  result.InternalId = TextOf(id, QStringLiteral("IDWew"));
  result.WithoutId = FlagOf(id, QStringLiteral("BrakID"));
  const TXmlNode *address = party->Child(QStringLiteral("Adres"));
  result.CountryCode = TextOf(address, QStringLiteral("KodKraju"));
  result.Address = AddressOf(address);
  result.CorrespondenceAddress = AddressOf(party->Child(QStringLiteral("AdresKoresp")));
  for (const TXmlNode *contact : party->ChildrenNamed(QStringLiteral("DaneKontaktowe"))) {
    result.Emails += TextsOf(contact, QStringLiteral("Email"));
    result.Phones += TextsOf(contact, QStringLiteral("Telefon"));
  }
  result.CustomerNumber = party->ChildText(QStringLiteral("NrKlienta"));
  result.BuyerId = party->ChildText(QStringLiteral("IDNabywcy"));
  result.Share = party->ChildText(QStringLiteral("Udzial"));
  const QString role = party->ChildText(QStringLiteral("Rola"));
  result.Role = role.isEmpty() ? party->ChildText(QStringLiteral("OpisRoli")) : PartyRoleName(role);
  return result;
}

QStringList CodesOf(const TXmlNode &line, const QStringList &names) {
  QStringList codes;
  for (const QString &name : names)
    if (const QString code = line.ChildText(name); !code.isEmpty())
      codes.append(name + u' ' + code);
  return codes;
}

TInvoiceLine LineOf(const TXmlNode &line) {
  TInvoiceLine result;
  result.Number = line.ChildText(QStringLiteral("NrWierszaFa"));
  result.DeliveryDate = line.ChildText(QStringLiteral("P_6A"));
  result.Name = line.ChildText(QStringLiteral("P_7"));
  result.Codes = CodesOf(line, {QStringLiteral("Indeks"), QStringLiteral("GTIN"), QStringLiteral("PKWiU"),
                                QStringLiteral("CN"), QStringLiteral("PKOB")});
  result.Unit = line.ChildText(QStringLiteral("P_8A"));
  result.Quantity = line.ChildText(QStringLiteral("P_8B"));
  result.UnitPrice = line.ChildText(QStringLiteral("P_9A"));
  if (result.UnitPrice.isEmpty())
    result.UnitPrice = line.ChildText(QStringLiteral("P_9B"));
  result.Discount = line.ChildText(QStringLiteral("P_10"));
  result.Value = line.ChildText(QStringLiteral("P_11"));
  if (result.Value.isEmpty())
    result.Value = line.ChildText(QStringLiteral("P_11A"));
  result.Rate = line.ChildText(QStringLiteral("P_12"));
  result.ExchangeRate = line.ChildText(QStringLiteral("KursWaluty"));
  result.BeforeCorrection = FlagOf(&line, QStringLiteral("StanPrzed"));
  return result;
}

TInvoiceLine OrderLineOf(const TXmlNode &line) {
  TInvoiceLine result;
  result.Number = line.ChildText(QStringLiteral("NrWierszaZam"));
  result.Name = line.ChildText(QStringLiteral("P_7Z"));
  result.Codes = CodesOf(line, {QStringLiteral("IndeksZ"), QStringLiteral("GTINZ"), QStringLiteral("PKWiUZ"),
                                QStringLiteral("CNZ"), QStringLiteral("PKOBZ")});
  result.Unit = line.ChildText(QStringLiteral("P_8AZ"));
  result.Quantity = line.ChildText(QStringLiteral("P_8BZ"));
  result.UnitPrice = line.ChildText(QStringLiteral("P_9AZ"));
  result.Value = line.ChildText(QStringLiteral("P_11NettoZ"));
  result.Rate = line.ChildText(QStringLiteral("P_12Z"));
  result.BeforeCorrection = FlagOf(&line, QStringLiteral("StanPrzedZ"));
  return result;
}

// P_13_x, P_14_x and P_14_xW in the order of the rates.
std::vector<TVatRateTotal> VatRatesOf(const TXmlNode &fa) {
  std::vector<TVatRateTotal> rates;
  for (const char *key : {"1", "2", "3", "4", "5", "6", "6_1", "6_2", "6_3", "7", "8", "9", "10", "11"}) {
    const QString suffix = QString::fromLatin1(key);
    TVatRateTotal rate{suffix, fa.ChildText(QStringLiteral("P_13_") + suffix), fa.ChildText(QStringLiteral("P_14_") + suffix),
                       fa.ChildText(QStringLiteral("P_14_") + suffix + u'W')};
    if (!rate.Net.isEmpty() || !rate.Vat.isEmpty() || !rate.VatPln.isEmpty())
      rates.push_back(rate);
  }
  return rates;
}

TAnnotations AnnotationsOf(const TXmlNode *annotations) {
  TAnnotations result;
  result.CashMethod = FlagOf(annotations, QStringLiteral("P_16"));
  result.SelfBilling = FlagOf(annotations, QStringLiteral("P_17"));
  result.ReverseCharge = FlagOf(annotations, QStringLiteral("P_18"));
  result.SplitPayment = FlagOf(annotations, QStringLiteral("P_18A"));
  result.TriangularSimplified = FlagOf(annotations, QStringLiteral("P_23"));
  if (!annotations)
    return result;
  if (const TXmlNode *exemption = annotations->Child(QStringLiteral("Zwolnienie"))) {
    result.Exempt = FlagOf(exemption, QStringLiteral("P_19"));
    for (const QString &kind : {QStringLiteral("P_19A"), QStringLiteral("P_19B"), QStringLiteral("P_19C")})
      if (const QString basis = exemption->ChildText(kind); !basis.isEmpty()) {
        result.ExemptionKind = kind;
        result.ExemptionBasis = basis;
      }
  }
  result.NewMeansOfTransport =
      FlagOf(annotations->Child(QStringLiteral("NoweSrodkiTransportu")), QStringLiteral("P_22"));
  if (const TXmlNode *margin = annotations->Child(QStringLiteral("PMarzy")); FlagOf(margin, QStringLiteral("P_PMarzy")))
    for (const QString &kind : {QStringLiteral("P_PMarzy_2"), QStringLiteral("P_PMarzy_3_1"),
                                QStringLiteral("P_PMarzy_3_2"), QStringLiteral("P_PMarzy_3_3")})
      if (FlagOf(margin, kind))
        result.MarginProcedure = kind;
  return result;
}

std::vector<TAmountEntry> AmountEntriesOf(const TXmlNode *settlement, const QString &name) {
  std::vector<TAmountEntry> entries;
  if (settlement)
    for (const TXmlNode *entry : settlement->ChildrenNamed(name))
      entries.push_back({entry->ChildText(QStringLiteral("Kwota")), entry->ChildText(QStringLiteral("Powod"))});
  return entries;
}

TSettlement SettlementOf(const TXmlNode *settlement) {
  TSettlement result;
  result.Charges = AmountEntriesOf(settlement, QStringLiteral("Obciazenia"));
  result.ChargesTotal = TextOf(settlement, QStringLiteral("SumaObciazen"));
  result.Deductions = AmountEntriesOf(settlement, QStringLiteral("Odliczenia"));
  result.DeductionsTotal = TextOf(settlement, QStringLiteral("SumaOdliczen"));
  result.ToPay = TextOf(settlement, QStringLiteral("DoZaplaty"));
  result.ToSettle = TextOf(settlement, QStringLiteral("DoRozliczenia"));
  return result;
}

std::vector<TBankAccount> AccountsOf(const TXmlNode *payment, const QString &name) {
  std::vector<TBankAccount> accounts;
  if (payment)
    for (const TXmlNode *account : payment->ChildrenNamed(name))
      accounts.push_back({account->ChildText(QStringLiteral("NrRB")), account->ChildText(QStringLiteral("SWIFT")),
                          account->ChildText(QStringLiteral("NazwaBanku")),
                          account->ChildText(QStringLiteral("OpisRachunku"))});
  return accounts;
}

// FA(3) describes a due date by a count, a unit and the event it runs from; FA(2) in words.
QString DueDateDescription(const TXmlNode *description) {
  if (!description)
    return QString();
  if (description->Children.empty())
    return Trim(description->Text);
  const QString count = description->ChildText(QStringLiteral("Ilosc"));
  const QString unit = description->ChildText(QStringLiteral("Jednostka"));
  const QString event = description->ChildText(QStringLiteral("ZdarzeniePoczatkowe"));
  QString text = Trim(count + u' ' + (count == QStringLiteral("1") ? unit.toLower() : TimeUnitName(unit)));
  if (!event.isEmpty())
    text += QStringLiteral(" od zdarzenia: ") + event;
  return text;
}

TPaymentInfo PaymentOf(const TXmlNode *payment) {
  TPaymentInfo result;
  if (!payment)
    return result;
  result.Paid = FlagOf(payment, QStringLiteral("Zaplacono"));
  result.PaidDate = payment->ChildText(QStringLiteral("DataZaplaty"));
  result.PartlyPaid = FlagOf(payment, QStringLiteral("ZnacznikZaplatyCzesciowej"));
  for (const TXmlNode *part : payment->ChildrenNamed(QStringLiteral("ZaplataCzesciowa")))
    result.PartPayments.push_back(
        {part->ChildText(QStringLiteral("DataZaplatyCzesciowej")), part->ChildText(QStringLiteral("KwotaZaplatyCzesciowej"))});
  for (const TXmlNode *term : payment->ChildrenNamed(QStringLiteral("TerminPlatnosci")))
    result.DueDates.push_back(
        {term->ChildText(QStringLiteral("Termin")), DueDateDescription(term->Child(QStringLiteral("TerminOpis")))});
  result.Form = payment->ChildText(QStringLiteral("FormaPlatnosci"));
  if (FlagOf(payment, QStringLiteral("PlatnoscInna")))
    result.OtherForm = payment->ChildText(QStringLiteral("OpisPlatnosci"));
  result.Accounts = AccountsOf(payment, QStringLiteral("RachunekBankowy"));
  result.FactorAccounts = AccountsOf(payment, QStringLiteral("RachunekBankowyFaktora"));
  const TXmlNode *discount = payment->Child(QStringLiteral("Skonto"));
  result.DiscountTerms = TextOf(discount, QStringLiteral("WarunkiSkonta"));
  result.DiscountAmount = TextOf(discount, QStringLiteral("WysokoscSkonta"));
  result.PaymentLink = payment->ChildText(QStringLiteral("LinkDoPlatnosci"));
  return result;
}

std::vector<TDatedEntry> DatedEntriesOf(const TXmlNode *terms, const QString &name, const QString &date,
                                        const QString &text) {
  std::vector<TDatedEntry> entries;
  if (terms)
    for (const TXmlNode *entry : terms->ChildrenNamed(name))
      entries.push_back({entry->ChildText(date), entry->ChildText(text)});
  return entries;
}

TTransactionTerms TermsOf(const TXmlNode *terms) {
  TTransactionTerms result;
  result.Contracts = DatedEntriesOf(terms, QStringLiteral("Umowy"), QStringLiteral("DataUmowy"), QStringLiteral("NrUmowy"));
  result.Orders =
      DatedEntriesOf(terms, QStringLiteral("Zamowienia"), QStringLiteral("DataZamowienia"), QStringLiteral("NrZamowienia"));
  result.Batches = TextsOf(terms, QStringLiteral("NrPartiiTowaru"));
  result.DeliveryTerms = TextOf(terms, QStringLiteral("WarunkiDostawy"));
  result.AgreedRate = TextOf(terms, QStringLiteral("KursUmowny"));
  result.AgreedCurrency = TextOf(terms, QStringLiteral("WalutaUmowna"));
  return result;
}

std::vector<TInvoiceReference> CorrectedInvoicesOf(const TXmlNode &fa) {
  std::vector<TInvoiceReference> references;
  for (const TXmlNode *corrected : fa.ChildrenNamed(QStringLiteral("DaneFaKorygowanej")))
    references.push_back({corrected->ChildText(QStringLiteral("DataWystFaKorygowanej")),
                          corrected->ChildText(QStringLiteral("NrFaKorygowanej")),
                          corrected->ChildText(QStringLiteral("NrKSeFFaKorygowanej"))});
  return references;
}

std::vector<TInvoiceReference> AdvanceInvoicesOf(const TXmlNode &fa) {
  std::vector<TInvoiceReference> references;
  for (const TXmlNode *advance : fa.ChildrenNamed(QStringLiteral("FakturaZaliczkowa")))
    references.push_back({QString(), advance->ChildText(QStringLiteral("NrFaZaliczkowej")),
                          advance->ChildText(QStringLiteral("NrKSeFFaZaliczkowej"))});
  return references;
}

void ReadFooter(const TXmlNode *footer, TInvoiceDocument &invoice) {
  if (!footer)
    return;
  for (const TXmlNode *info : footer->ChildrenNamed(QStringLiteral("Informacje")))
    invoice.FooterTexts += TextsOf(info, QStringLiteral("StopkaFaktury"));
  for (const TXmlNode *registry : footer->ChildrenNamed(QStringLiteral("Rejestry")))
    invoice.Registries.push_back({registry->ChildText(QStringLiteral("PelnaNazwa")), registry->ChildText(QStringLiteral("KRS")),
                                  registry->ChildText(QStringLiteral("REGON")), registry->ChildText(QStringLiteral("BDO"))});
}

} // namespace

TInvoiceDocument ReadInvoiceDocument(const QByteArray &bytes, const QString &fileName) {
  const TXmlNode root = ParseXmlTree(bytes, fileName);
  const auto refuse = [&](const QString &missing) {
    throw Exception(QStringLiteral("Plik \"%1\" nie jest fakturą KSeF: brak elementu %2.")
                        .arg(QFileInfo(fileName).fileName(), missing));
  };
  if (root.LocalName != QStringLiteral("Faktura"))
    refuse(QStringLiteral("Faktura"));
  const TXmlNode *seller = root.Child(QStringLiteral("Podmiot1"));
  const TXmlNode *fa = root.Child(QStringLiteral("Fa"));
  if (!seller)
    refuse(QStringLiteral("Podmiot1"));
  if (!fa)
    refuse(QStringLiteral("Fa"));

  TInvoiceDocument invoice;
  const TXmlNode *header = root.Child(QStringLiteral("Naglowek"));
  if (const QString variant = TextOf(header, QStringLiteral("WariantFormularza")); !variant.isEmpty())
    invoice.Schema = QStringLiteral("FA (%1)").arg(variant);
  invoice.SystemInfo = TextOf(header, QStringLiteral("SystemInfo"));
  invoice.Number = fa->ChildText(QStringLiteral("P_2"));
  invoice.IssueDate = fa->ChildText(QStringLiteral("P_1"));
  if (invoice.Number.isEmpty())
    refuse(QStringLiteral("Fa/P_2"));
  if (invoice.IssueDate.isEmpty())
    refuse(QStringLiteral("Fa/P_1"));
  invoice.Kind = fa->ChildText(QStringLiteral("RodzajFaktury"));
  invoice.IssuePlace = fa->ChildText(QStringLiteral("P_1M"));
  invoice.SaleDate = fa->ChildText(QStringLiteral("P_6"));
  const TXmlNode *period = fa->Child(QStringLiteral("OkresFa"));
  invoice.PeriodFrom = TextOf(period, QStringLiteral("P_6_Od"));
  invoice.PeriodTo = TextOf(period, QStringLiteral("P_6_Do"));
  invoice.Currency = fa->ChildText(QStringLiteral("KodWaluty"));
  invoice.ExchangeRate = fa->ChildText(QStringLiteral("KursWalutyZ"));

  invoice.Seller = PartyOf(seller);
  invoice.Buyer = PartyOf(root.Child(QStringLiteral("Podmiot2")));
  for (const TXmlNode *other : root.ChildrenNamed(QStringLiteral("Podmiot3")))
    invoice.OtherParties.push_back(PartyOf(other));

  invoice.CorrectionReason = fa->ChildText(QStringLiteral("PrzyczynaKorekty"));
  invoice.CorrectionType = fa->ChildText(QStringLiteral("TypKorekty"));
  invoice.CorrectedInvoices = CorrectedInvoicesOf(*fa);
  invoice.CorrectedPeriod = fa->ChildText(QStringLiteral("OkresFaKorygowanej"));
  invoice.AdvanceInvoices = AdvanceInvoicesOf(*fa);

  for (const TXmlNode *line : fa->ChildrenNamed(QStringLiteral("FaWiersz"))) {
    invoice.Lines.push_back(LineOf(*line));
    if (line->Child(QStringLiteral("P_9B")) || line->Child(QStringLiteral("P_11A")))
      invoice.GrossPrices = true;
  }
  if (const TXmlNode *order = fa->Child(QStringLiteral("Zamowienie"))) {
    invoice.OrderValue = order->ChildText(QStringLiteral("WartoscZamowienia"));
    for (const TXmlNode *line : order->ChildrenNamed(QStringLiteral("ZamowienieWiersz")))
      invoice.OrderLines.push_back(OrderLineOf(*line));
  }
  invoice.VatRates = VatRatesOf(*fa);
  invoice.Total = fa->ChildText(QStringLiteral("P_15"));

  invoice.Annotations = AnnotationsOf(fa->Child(QStringLiteral("Adnotacje")));
  invoice.Settlement = SettlementOf(fa->Child(QStringLiteral("Rozliczenie")));
  invoice.Payment = PaymentOf(fa->Child(QStringLiteral("Platnosc")));
  invoice.Terms = TermsOf(fa->Child(QStringLiteral("WarunkiTransakcji")));
  invoice.ReceiptInvoice = FlagOf(fa, QStringLiteral("FP"));
  invoice.RelatedParties = FlagOf(fa, QStringLiteral("TP"));
  for (const TXmlNode *info : fa->ChildrenNamed(QStringLiteral("DodatkowyOpis")))
    invoice.AdditionalInfo.push_back({info->ChildText(QStringLiteral("NrWiersza")), info->ChildText(QStringLiteral("Klucz")),
                                      info->ChildText(QStringLiteral("Wartosc"))});
  ReadFooter(root.Child(QStringLiteral("Stopka")), invoice);
  return invoice;
}
