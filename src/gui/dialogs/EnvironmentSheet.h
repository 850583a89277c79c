#pragma once

#include <QDialog>
#include <QWidget>

class QCheckBox;
class QDialogButtonBox;
class QFileDialog;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace vormex::gui {

class CVORMEXSettingToolApp;
class SpinEdit;

// What the options sheet changes in the running main window.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;
    virtual void SetLook(int lookId) = 0;
    virtual void ShowHeaderIcon(bool shown) = 0;
    virtual void ShowHeaderDeviceInfo(bool shown) = 0;
    // Sets the restart request and closes the main window.
    virtual void RestartForLanguage() = 0;
};

// The look of the window and of its header pane; changes apply at once, Cancel undoes them.
class CAppStylePage : public QWidget {
    Q_OBJECT
public:
    CAppStylePage(CVORMEXSettingToolApp& app, OptionsHost& host, int currentLook, QWidget* parent = nullptr);

    void OnOK();
    void OnCancel();

    QListWidget* lookList() const { return looks_; }
    QCheckBox* iconBox() const { return icon_; }
    QCheckBox* deviceInfoBox() const { return deviceInfo_; }

signals:
    void lookChosen();

private:
    CVORMEXSettingToolApp& app_;
    OptionsHost& host_;
    int startLook_;
    QListWidget* looks_;
    QCheckBox* icon_;
    QCheckBox* deviceInfo_;
};

// The TrueType font downloader's path and the wait time after downloads.
class CTTFDownLoaderPage : public QWidget {
    Q_OBJECT
public:
    CTTFDownLoaderPage(CVORMEXSettingToolApp& app, QWidget* parent = nullptr);

    // False (with the range message) when the wait time is not an integer from 1 to 60000.
    bool Validate();
    void OnOK();

    QLineEdit* pathEdit() const { return path_; }
    // A spin box: the arrows and the Up and Down keys step from 1 to 60000, the edit takes any
    // number of five digits, which OK checks.
    SpinEdit* waitTimeEdit() const { return waitTime_; }
    QPushButton* browseButton() const { return browse_; }
    // The browse dialog while it is open (tests, screenshots); nullptr otherwise.
    QFileDialog* browseDialog() const { return browseDialog_; }

private:
    void browse();

    CVORMEXSettingToolApp& app_;
    QLineEdit* path_;
    QPushButton* browse_;
    SpinEdit* waitTime_;
    QFileDialog* browseDialog_ = nullptr;
};

// The user-interface language; a change needs a restart.
class CLanguagePage : public QWidget {
    Q_OBJECT
public:
    CLanguagePage(CVORMEXSettingToolApp& app, QWidget* parent = nullptr);

    void OnOK();

    QListWidget* languageList() const { return languages_; }
    QPushButton* restartButton() const { return restart_; }

signals:
    void restartRequested();

private:
    CVORMEXSettingToolApp& app_;
    QListWidget* languages_;
    QPushButton* restart_;
};

// The options sheet: the three pages as tabs, OK and Cancel.
class CEnvironmentSheet : public QDialog {
    Q_OBJECT
public:
    CEnvironmentSheet(CVORMEXSettingToolApp& app, OptionsHost& host, int currentLook, QWidget* parent = nullptr);

    void accept() override;
    void reject() override;

    QTabWidget* tabs() const { return tabs_; }
    CAppStylePage* stylePage() const { return style_; }
    CTTFDownLoaderPage* downloaderPage() const { return downloader_; }
    CLanguagePage* languagePage() const { return language_; }
    QDialogButtonBox* buttons() const { return buttons_; }

private:
    void restartNow();

    OptionsHost& host_;
    QTabWidget* tabs_;
    CAppStylePage* style_;
    CTTFDownLoaderPage* downloader_;
    CLanguagePage* language_;
    QDialogButtonBox* buttons_;
};

}  // namespace vormex::gui
