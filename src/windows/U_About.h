#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace windows {

// "About" with the product's name, version and owner, and the place where the
// station owner saves the station's proxy address (Config.ini HomePage).
// Created hidden; nothing in the client opens it.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // Every showing reloads the edit box from Config.ini.
    void FormShow();
    // Refuses an address without the site's domain; otherwise stores it
    // trimmed. A refused write of Config.ini throws localfiles::WriteError,
    // which is left to the application's general error report.
    void Button1Click();

    QFrame* Panel1 = nullptr;
    QLabel* ProgramIcon = nullptr;
    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* lbl_Owner = nullptr;
    QLineEdit* edtMyURL = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool FCentred = false;
};

} // namespace windows
