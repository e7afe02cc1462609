#include "CommandTest.h"
#include "Pain001View.h"
#include "app/commands/SplitPaymentSettings.h"

#include <QStringEncoder>

namespace {

class TVideoTelTransferTest : public TCommandTest {
protected:
  TVideoTelTransferTest() { Controls.ConnectTo(Settings); }

  // Starts the window's split-payment controls from this choice in settings.ini.
  void StartWithSplitPayment(const QByteArray &company, const QByteArray &enabled, const QByteArray &format) {
    WriteAppFile(QStringLiteral("settings.ini"),
                 company + "[MPP]\r\nEnabled=" + enabled + "\r\nFormat=" + format + "\r\n");
    Settings.Load();
  }
  // A VideoTel file as the banking software writes it: windows-1250, CR LF.
  QString WriteVideoTelFile(const QStringList &lines) const {
    QStringEncoder cp1250("windows-1250");
    Input.WriteBytes(QStringLiteral("przelewy.imp"),
                     cp1250(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    return Input.File(QStringLiteral("przelewy.imp"));
  }
  QString Output() const { return AppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001VideoTel.xml")); }
  QByteArray StoredMPP() const {
    const QByteArray text = ReadAppFile(QStringLiteral("settings.ini"));
    return text.mid(text.indexOf("[MPP]"));
  }

  TTempDir Input;
  TFakeMPPControls Controls;
  TSplitPaymentSettings Settings{Controls, AppDirectory.Paths().SettingsFile()};
};

QString Record(const QString &iban, const QString &amount, const QString &title, const QString &name,
               const QString &town) {
  return QStringLiteral("\"Pracownia Wrzos\" 11402004 %1 10202892 %2 20260312 20260312 PL79114020044000030020135538 "
                        "\"%3\" PLN \"%4\" \"%5\" 0 \"\"")
      .arg(iban, amount, title, name, town);
}

const QString SuccessText = QStringLiteral("] dla potrzeb przelewu, z pliku w formacie VideoTel ...|separator");

TEST_F(TVideoTelTransferTest, SwitchesSplitPaymentOffSavesItAndWritesOneTransactionPerLine) {
  StartWithSplitPayment(PayerSettings, "1", "Structured");
  const QString input = WriteVideoTelFile(
      {Record(QStringLiteral("PL32102028922000000102034567"), QStringLiteral("1230.00"),
              QStringLiteral("Zapłata za FV/2026/03/118"), QStringLiteral("Papiernia Zielony Dąb"),
              QStringLiteral("Kraków")),
       QString(),
       Record(QStringLiteral("45116022022000000345678901"), QStringLiteral("216,00"), QStringLiteral("D/45/2026"),
              QStringLiteral("Łódź Sp. z o.o."), QStringLiteral("Łódź"))});

  ASSERT_TRUE(Commands.PressVideoTel(input, Settings));

  EXPECT_EQ(Log(), QStringList({QStringLiteral("Poprawnie wygenerowano plik [") + Output() + SuccessText,
                                WhiteListNotChecked()}));
  EXPECT_EQ(Host.OpenedFiles, QStringList{Output()});
  EXPECT_TRUE(Host.MessageBoxes.isEmpty());
  EXPECT_FALSE(Controls.MPPChecked());
  EXPECT_FALSE(Controls.FormatGroupEnabled());
  EXPECT_EQ(Controls.FormatIndex(), 1);
  EXPECT_FALSE(Settings.Current().Enabled);
  EXPECT_EQ(StoredMPP(), QByteArray("[MPP]\r\nEnabled=0\r\nFormat=Structured\r\n"));

  EXPECT_TRUE(IsValidPain001(Output()));
  const TPain001View file(Output());
  EXPECT_EQ(file.TextsNamed(QStringLiteral("Prtry")),
            QStringList({QStringLiteral("Payment"), QStringLiteral("Payment"), QStringLiteral("Payment")}));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("Nm")),
            QStringList({QStringLiteral("Pracownia Architektoniczna Wrzos sp. z o.o."),
                         QStringLiteral("Papiernia Zielony Dab"), QStringLiteral("Lodz Sp. z o.o.")}));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("InstdAmt")),
            QStringList({QStringLiteral("1230.00"), QStringLiteral("216.00")}));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("EndToEndId")),
            QStringList({QStringLiteral("Zaplata za FV/2026/03/118"), QStringLiteral("D/45/2026")}));
  EXPECT_EQ(file.TextsNamed(QStringLiteral("TwnNm")), QStringList({QStringLiteral("Krakow"), QStringLiteral("Lodz")}));
}

TEST_F(TVideoTelTransferTest, MissingPayerDataIsLoggedTheEarlierFileKeptAndSplitPaymentIsOff) {
  StartWithSplitPayment(QByteArray(), "1", "Both");
  WriteAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001VideoTel.xml"), "earlier");
  const QString input = WriteVideoTelFile({QString()});

  EXPECT_FALSE(Commands.PressVideoTel(input, Settings));

  EXPECT_EQ(Log(), QStringList{MissingPayerError(QStringLiteral("Brak nazwy firmy"))});
  EXPECT_EQ(ReadAppFile(QStringLiteral("PLIKI_DO_BANKU/Pain001VideoTel.xml")), QByteArray("earlier"));
  EXPECT_FALSE(Controls.MPPChecked());
  EXPECT_EQ(StoredMPP(), QByteArray("[MPP]\r\nEnabled=0\r\nFormat=Both\r\n"));
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

TEST_F(TVideoTelTransferTest, AFailedReadIsShownInABoxAndLogged) {
  StartWithSplitPayment(PayerSettings, "0", "Ustrd");
  const QString good = Record(QStringLiteral("PL32102028922000000102034567"), QStringLiteral("10.00"),
                              QStringLiteral("Tytuł"), QStringLiteral("Odbiorca"), QStringLiteral("Kraków"));
  const QString input = WriteVideoTelFile({good, QStringLiteral("1 2 3 4 5 6 7 8 9 10 11 12 13")});

  EXPECT_FALSE(Commands.PressVideoTel(input, Settings));

  EXPECT_EQ(Host.MessageBoxes, QStringList{QStringLiteral("Exception: Nieprawidłowy rekord VideoTEL. Liczba pól=13")});
  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: Nieprawidłowy rekord VideoTEL. Liczba pól=13")});
  EXPECT_FALSE(AppFileExists(QStringLiteral("PLIKI_DO_BANKU/Pain001VideoTel.xml")));
  EXPECT_TRUE(Host.OpenedFiles.isEmpty());
}

TEST_F(TVideoTelTransferTest, AMissingFileIsShownInABoxAndLogged) {
  StartWithSplitPayment(PayerSettings, "0", "Ustrd");
  const QString missing = Input.File(QStringLiteral("brak.imp"));

  EXPECT_FALSE(Commands.PressVideoTel(missing, Settings));

  const QString message = QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(missing);
  EXPECT_EQ(Host.MessageBoxes, QStringList{QStringLiteral("Exception: ") + message});
  EXPECT_EQ(Log(), QStringList{QStringLiteral("Błąd: ") + message});
}

TEST_F(TVideoTelTransferTest, AFileOfBlankLinesGivesAFileWithoutTransactions) {
  StartWithSplitPayment(PayerSettings, "0", "Ustrd");
  const QString input = WriteVideoTelFile({QStringLiteral("   "), QString(), QStringLiteral("\t")});

  ASSERT_TRUE(Commands.PressVideoTel(input, Settings));

  EXPECT_EQ(Log(), QStringList({QStringLiteral("Poprawnie wygenerowano plik [") + Output() + SuccessText,
                                QStringLiteral("Uwaga: Plik nie zawiera żadnego przelewu: bank nie przyjmie pustego "
                                               "pliku."),
                                WhiteListNotChecked()}));
  EXPECT_EQ(Host.OpenedFiles, QStringList{Output()});
  EXPECT_EQ(TPain001View(Output()).TextsNamed(QStringLiteral("NbOfTxs")),
            QStringList({QStringLiteral("0"), QStringLiteral("0")}));
}

TEST_F(TVideoTelTransferTest, WithoutSplitPaymentControlsTheSettingsFileIsLeftAlone) {
  WriteAppFile(QStringLiteral("settings.ini"), PayerSettings + "[MPP]\r\nEnabled=1\r\nFormat=Both\r\n");
  const QByteArray settingsBefore = ReadAppFile(QStringLiteral("settings.ini"));
  const QString input =
      WriteVideoTelFile({Record(QStringLiteral("PL32102028922000000102034567"), QStringLiteral("99.99"),
                                QStringLiteral("Tytuł"), QStringLiteral("Odbiorca"), QStringLiteral("Gdańsk"))});

  ASSERT_TRUE(Commands.PressVideoTelWithoutSplitPayment(input));

  EXPECT_EQ(ReadAppFile(QStringLiteral("settings.ini")), settingsBefore);
  EXPECT_TRUE(IsValidPain001(Output()));
  EXPECT_EQ(TPain001View(Output()).TextsNamed(QStringLiteral("Prtry")),
            QStringList({QStringLiteral("Payment"), QStringLiteral("Payment")}));
}

TEST_F(TVideoTelTransferTest, ShowVideoTelStartsTheEditorWithTheFieldAsTyped) {
  Commands.PressShowVideoTel(QStringLiteral(" nieistniejacy.imp"));

  EXPECT_EQ(Host.EditorArguments, QStringList{QStringLiteral(" nieistniejacy.imp")});
  EXPECT_TRUE(Host.InformationBoxes.isEmpty());
  EXPECT_TRUE(Host.LogEntries.empty());
}

} // namespace
