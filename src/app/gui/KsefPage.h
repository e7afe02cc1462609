#pragma once

#include "app/commands/KsefPageCommand.h"
#include "app/gui/BackgroundWork.h"
#include "ksefapi/KsefProgress.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

// The page "KSeF": the environment ("CmbKsefSrodowisko"), the login by certificate
// ("RbKsefCertyfikat", with the files "EdtKsefCertyfikat" and "EdtKsefKlucz") or by token
// ("RbKsefToken"), the range of dates ("ChkKsefOd"/"DataKsefOd", "ChkKsefDo"/"DataKsefDo",
// and "LblKsefStart" saying where a download without "Od" starts), "Pobierz"
// ("BtnKsefPobierz"), the invoices that came in ("GridKsef") and the page's log ("MemoKsef").
// The download runs as the window's other slow work does, with its progress and "Anuluj" on the
// status line.
class TKsefPage : public QWidget {
  Q_OBJECT

public:
  // `waiter` waits where KSeF asks the client to (the real clock but in tests).
  TKsefPage(THost &host, TBackgroundWork &background, ISecretPrompt &prompt, IKeyring &keyring, IKsefWaiter &waiter,
            QWidget *parent = nullptr);

  // The page's log, for the window's message log to write to.
  QPlainTextEdit *Log() const { return FLog; }

signals:
  // The outcome of a download has been shown and logged.
  void Finished();

private:
  void Download();
  TKsefPageSettings CurrentSettings() const;
  TKsefDownloadRequest CurrentRequest() const;
  void ShowSettings(const TKsefPageSettings &settings);
  void ShowInvoices(const TKsefDownloadOutcome &outcome);
  void ShowStart();
  void ShowMethod();
  void ChooseFile(QLineEdit &field, const QString &title, const QString &filter);

  THost &FHost;
  TBackgroundWork &FBackground;
  IKsefWaiter &FWaiter;
  TKsefPageCommand FCommand;
  QComboBox *FEnvironment;
  QRadioButton *FByCertificate;
  QRadioButton *FByToken;
  QLineEdit *FCertificate;
  QPushButton *FChooseCertificate;
  QLineEdit *FKey;
  QPushButton *FChooseKey;
  QCheckBox *FFromOn;
  QDateEdit *FFrom;
  QCheckBox *FToOn;
  QDateEdit *FTo;
  QLabel *FStart;
  QPushButton *FDownload;
  QTableWidget *FInvoices;
  QPlainTextEdit *FLog;
};
