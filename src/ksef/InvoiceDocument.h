#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

// What a KSeF invoice (FA(2) or FA(3)) says, read once from its XML: the PDF shows it, and the
// transfer takes the seller's payment data from it. Values are the invoice's own texts,
// trimmed: decimals with their full stop, dates as ISO dates, codes as codes; the PDF puts them
// into words. An empty text or list is something the invoice does not carry.

// Podmiot1 (seller), Podmiot2 (buyer) or Podmiot3 (another party).
struct TInvoiceParty {
  // Podmiot3: the role in words ("Faktor", or the invoice's own description of it).
  QString Role;
  QString Name;
  // PrefiksPodatnika or KodUE before a NIP or VAT number, where given.
  QString TaxPrefix;
  QString Nip;
  // KodUE + NrVatUE.
  QString EuVatNumber;
  // KodKraju + NrID: a tax number of another country.
  QString OtherId;
  QString InternalId;
  // BrakID: the party has no identifier.
  bool WithoutId = false;
  QString CountryCode;
  // The first AdresL1 and AdresL2: the address a transfer to the party carries.
  QString AddressLine1;
  QString AddressLine2;
  // Every address line, then the GLN, as the PDF prints them.
  QStringList Address;
  QStringList CorrespondenceAddress;
  QStringList Emails;
  QStringList Phones;
  QString CustomerNumber;
  QString BuyerId;
  QString Share;
};

struct TInvoiceLine {
  QString Number;
  QString Name;
  QString Unit;
  QString Quantity;
  // P_9A (net) or P_9B (gross), as the invoice states its prices.
  QString UnitPrice;
  QString Discount;
  // P_11 (net) or P_11A (gross).
  QString Value;
  // P_12 as the invoice writes it: "23", "0 WDT", "zw", "np I"...
  QString Rate;
  QString DeliveryDate;
  // Indeks, GTIN, PKWiU, CN, PKOB as "PKWiU 10.71.11.0".
  QStringList Codes;
  QString ExchangeRate;
  // StanPrzed: the line shows the state before the correction.
  bool BeforeCorrection = false;
};

// One row of the VAT summary: P_13_x, P_14_x and P_14_xW of one rate.
struct TVatRateTotal {
  // The key of the rate: "1" for P_13_1, "6_2" for P_13_6_2...
  QString Key;
  QString Net;
  QString Vat;
  // The VAT converted to PLN, for an invoice in another currency.
  QString VatPln;
};

struct TInvoiceReference {
  QString IssueDate;
  QString Number;
  QString KsefNumber;
};

struct TBankAccount {
  QString Number;
  QString Swift;
  QString BankName;
  QString Description;
};

struct TAmountEntry {
  QString Amount;
  QString Reason;
};

struct TDatedEntry {
  QString Date;
  QString Text;
};

struct TPaymentInfo {
  bool Paid = false;
  QString PaidDate;
  // ZnacznikZaplatyCzesciowej: 1 says part of it is paid, 2 that all of it is, in two or more parts.
  bool PartlyPaid = false;
  bool PaidInParts = false;
  // Amount and date of each part paid.
  std::vector<TDatedEntry> PartPayments;
  // A due date, or its description ("30 dni od doręczenia faktury").
  std::vector<TDatedEntry> DueDates;
  // FormaPlatnosci: a code 1 to 7.
  QString Form;
  // PlatnoscInna with OpisPlatnosci.
  QString OtherForm;
  std::vector<TBankAccount> Accounts;
  std::vector<TBankAccount> FactorAccounts;
  QString DiscountTerms;
  QString DiscountAmount;
  QString PaymentLink;
};

struct TSettlement {
  std::vector<TAmountEntry> Charges;
  QString ChargesTotal;
  std::vector<TAmountEntry> Deductions;
  QString DeductionsTotal;
  QString ToPay;
  QString ToSettle;
};

struct TAnnotations {
  bool CashMethod = false;
  bool SelfBilling = false;
  bool ReverseCharge = false;
  bool SplitPayment = false;
  bool Exempt = false;
  // P_19A, P_19B or P_19C: the law the exemption rests on, with the element's name.
  QString ExemptionKind;
  QString ExemptionBasis;
  bool NewMeansOfTransport = false;
  bool TriangularSimplified = false;
  // P_PMarzy_2, P_PMarzy_3_1, P_PMarzy_3_2 or P_PMarzy_3_3 when the margin procedure applies.
  QString MarginProcedure;
};

struct TTransactionTerms {
  std::vector<TDatedEntry> Contracts;
  std::vector<TDatedEntry> Orders;
  QStringList Batches;
  QString DeliveryTerms;
  QString AgreedRate;
  QString AgreedCurrency;
};

struct TAdditionalInfo {
  QString Line;
  QString Key;
  QString Value;
};

struct TRegistryEntry {
  QString FullName;
  QString Krs;
  QString Regon;
  QString Bdo;
};

struct TInvoiceDocument {
  // "FA (2)" or "FA (3)".
  QString Schema;
  QString SystemInfo;
  QString Kind;
  QString Number;
  QString IssueDate;
  QString IssuePlace;
  QString SaleDate;
  QString PeriodFrom;
  QString PeriodTo;
  QString Currency;
  QString ExchangeRate;

  TInvoiceParty Seller;
  TInvoiceParty Buyer;
  std::vector<TInvoiceParty> OtherParties;

  QString CorrectionReason;
  QString CorrectionType;
  std::vector<TInvoiceReference> CorrectedInvoices;
  QString CorrectedPeriod;
  std::vector<TInvoiceReference> AdvanceInvoices;

  // The lines state gross prices (P_9B, P_11A) rather than net ones.
  bool GrossPrices = false;
  std::vector<TInvoiceLine> Lines;
  // Zamowienie: the order an advance invoice is paid for, and its lines.
  QString OrderValue;
  std::vector<TInvoiceLine> OrderLines;

  std::vector<TVatRateTotal> VatRates;
  QString Total;

  TAnnotations Annotations;
  TSettlement Settlement;
  TPaymentInfo Payment;
  TTransactionTerms Terms;
  // FP and TP of the invoice.
  bool ReceiptInvoice = false;
  bool RelatedParties = false;
  std::vector<TAdditionalInfo> AdditionalInfo;

  QStringList FooterTexts;
  std::vector<TRegistryEntry> Registries;

  // The elements of the seller's payment data (by name: "Nazwa", "P_15", "NrRB"...) that hold
  // more than one text node, each with the reader's message. The PDF shows their text all the
  // same; a transfer refuses them.
  QHash<QString, QString> MixedTexts;
};
