#include "ksefapi/KsefMessages.h"

namespace {

QString CodeMessage(int code) {
  switch (code) {
  case 9101:
    return QStringLiteral("KSeF nie przyjął podpisanego dokumentu logowania (kod 9101); sprawdź, czy plik "
                          "certyfikatu i klucza są właściwe.");
  case 9102: return QStringLiteral("KSeF nie znalazł podpisu w dokumencie logowania (kod 9102).");
  case 9103: return QStringLiteral("Dokument logowania ma więcej niż jeden podpis (kod 9103).");
  case 9105:
    return QStringLiteral("KSeF uznał podpis logowania za nieprawidłowy (kod 9105); sprawdź, czy klucz pasuje do "
                          "certyfikatu.");
  case 21001: return QStringLiteral("KSeF nie odczytał dokumentu logowania (kod 21001).");
  case 21111:
    return QStringLiteral("KSeF odrzucił wyzwanie logowania (kod 21111): jest przeterminowane albo zegar komputera "
                          "się spieszy lub spóźnia; ustaw właściwy czas i spróbuj ponownie.");
  case 21115:
    return QStringLiteral("KSeF odrzucił certyfikat (kod 21115): użyj ważnego certyfikatu KSeF, pieczęci albo podpisu "
                          "kwalifikowanego.");
  case 21117: return QStringLiteral("KSeF odrzucił NIP płatnika (kod 21117); popraw NIP w ustawieniach programu.");
  case 21175: return QStringLiteral("KSeF nie zna już tego eksportu faktur (kod 21175); pobierz faktury ponownie.");
  case 21181:
    return QStringLiteral("KSeF nie pozwala pobrać faktur zakupu w tym kontekście (kod 21181); zaloguj się w "
                          "kontekście NIP płatnika.");
  case 21182:
    return QStringLiteral("W KSeF trwa zbyt wiele eksportów faktur naraz (kod 21182); spróbuj ponownie za kilka "
                          "minut.");
  case 21217: return QStringLiteral("KSeF nie odczytał kodowania znaków dokumentu logowania (kod 21217).");
  case 21301:
    return QStringLiteral("KSeF odmówił tokenów dostępu (kod 21301): logowanie już wykorzystano albo token KSeF "
                          "unieważniono; zaloguj się ponownie albo wygeneruj nowy token w KSeF.");
  case 21304: return QStringLiteral("KSeF nie zna tego logowania (kod 21304); zaloguj się ponownie.");
  case 21308:
    return QStringLiteral("KSeF odrzucił logowanie metodą osoby zmarłej (kod 21308); użyj certyfikatu albo tokenu "
                          "osoby, która ma uprawnienia firmy.");
  case 21401: return QStringLiteral("Dokument logowania nie jest zgodny ze schematem KSeF (kod 21401).");
  case 21405:
    return QStringLiteral("KSeF odrzucił dane zapytania (kod 21405), np. zakres dat dłuższy niż 3 miesiące albo "
                          "błędny NIP; sprawdź daty i NIP płatnika.");
  case 21406:
    return QStringLiteral("Rodzaj podpisu nie pasuje do sposobu logowania (kod 21406); użyj certyfikatu KSeF, "
                          "pieczęci albo podpisu kwalifikowanego.");
  case 21470:
    return QStringLiteral("KSeF nie zna już klucza publicznego, którym zaszyfrowano dane (kod 21470); spróbuj "
                          "ponownie.");
  default: return {};
  }
}

QString ForbiddenMessage(const QString &call, const QString &reasonCode) {
  if (reasonCode == QStringLiteral("missing-permissions"))
    return QStringLiteral("KSeF odmówił: %1 wymaga uprawnienia, którego logowanie nie ma; nadaj certyfikatowi albo "
                          "tokenowi uprawnienie „InvoiceRead” w KSeF.")
        .arg(call);
  if (reasonCode == QStringLiteral("ip-not-allowed"))
    return QStringLiteral("KSeF odmówił: %1 przyszło z innego adresu IP niż logowanie; zaloguj się ponownie.")
        .arg(call);
  return QStringLiteral("KSeF odmówił dostępu: %1; sprawdź uprawnienia w KSeF.").arg(call);
}

} // namespace

QString LoginFailureMessage(const TKsefStatus &status) {
  switch (status.Code) {
  case 415:
    return QStringLiteral("Logowanie do KSeF nie powiodło się (415): certyfikat albo token nie ma prawa do faktur "
                          "tej firmy; nadaj mu w KSeF uprawnienie „InvoiceRead” dla NIP płatnika.");
  case 425: return QStringLiteral("Logowanie do KSeF unieważniono (425); zaloguj się ponownie.");
  case 450:
    return QStringLiteral("Logowanie do KSeF nie powiodło się (450): token KSeF jest błędny, nieaktywny albo "
                          "unieważniony, lub zegar komputera jest źle ustawiony; wygeneruj nowy token w KSeF i "
                          "sprawdź czas.");
  case 460:
    return QStringLiteral("Logowanie do KSeF nie powiodło się (460): certyfikat jest nieważny, odwołany, zawieszony "
                          "albo jego wystawca nie jest zaufany; użyj ważnego certyfikatu KSeF, pieczęci albo podpisu "
                          "kwalifikowanego.");
  case 470:
    return QStringLiteral("Logowanie do KSeF nie powiodło się (470): użyto danych logowania osoby zmarłej; użyj "
                          "certyfikatu albo tokenu innej osoby uprawnionej.");
  case 480:
    return QStringLiteral("Logowanie do KSeF zablokowano (480) z podejrzenia incydentu bezpieczeństwa; skontaktuj "
                          "się z Ministerstwem Finansów przez formularz zgłoszeniowy.");
  case 500: return QStringLiteral("Logowanie do KSeF nie powiodło się z nieznanego powodu (500); spróbuj ponownie.");
  case 550: return QStringLiteral("KSeF przerwał logowanie z przyczyn wewnętrznych (550); spróbuj ponownie za chwilę.");
  default:
    return QStringLiteral("Logowanie do KSeF nie powiodło się (status %1); spróbuj ponownie później.").arg(status.Code);
  }
}

QString ErrorAnswerMessage(const QString &call, long httpStatus, const QByteArray &body) {
  const TKsefErrorAnswer answer = ReadErrorAnswer(body);
  for (const int code : answer.Codes)
    if (const QString message = CodeMessage(code); !message.isEmpty())
      return message;
  switch (httpStatus) {
  case 401: return QStringLiteral("KSeF nie uznał logowania: %1; zaloguj się ponownie.").arg(call);
  case 403: return ForbiddenMessage(call, answer.ReasonCode);
  case 404: return QStringLiteral("KSeF nie zna adresu: %1; sprawdź adres KSeF w ustawieniach.").arg(call);
  case 410: return QStringLiteral("KSeF nie ma już tej operacji (wygasła): %1; spróbuj ponownie.").arg(call);
  default: break;
  }
  if (httpStatus >= 500)
    return QStringLiteral("KSeF ma awarię (HTTP %1): %2; spróbuj ponownie później.").arg(httpStatus).arg(call);
  if (!answer.Codes.isEmpty())
    return QStringLiteral("KSeF odrzucił %1 (kod %2).").arg(call).arg(answer.Codes.first());
  return QStringLiteral("KSeF odpowiedział błędem HTTP %1: %2.").arg(httpStatus).arg(call);
}

QString ExportFailureMessage(const TKsefStatus &status) {
  switch (status.Code) {
  case 210: return QStringLiteral("Paczka faktur w KSeF wygasła (210), zanim ją pobrano; pobierz faktury ponownie.");
  case 415: return QStringLiteral("KSeF nie odszyfrował klucza eksportu (415); spróbuj ponownie.");
  case 420:
    return QStringLiteral("Początek zakresu dat jest późniejszy niż faktury trwale zapisane w KSeF (420); spróbuj "
                          "ponownie później.");
  case 550: return QStringLiteral("KSeF przerwał eksport faktur z przyczyn wewnętrznych (550); spróbuj ponownie.");
  default:
    return QStringLiteral("Eksport faktur w KSeF nie powiódł się (status %1); spróbuj ponownie później.")
        .arg(status.Code);
  }
}
