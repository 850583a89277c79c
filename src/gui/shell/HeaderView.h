#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace vormex::gui {

// The text part of the header: the printer name in large bold type and, when enabled, the
// device-info text beside it, each on one line and cut with an ellipsis when it does not fit.
class HeaderText : public QWidget {
    Q_OBJECT
public:
    explicit HeaderText(QWidget* parent = nullptr);

    void setText(const QString& headerText);
    void setDeviceInfoShown(bool shown);

    QString printerName() const { return printerName_; }
    QString deviceInfo() const { return deviceInfo_; }
    bool deviceInfoShown() const { return deviceInfoShown_; }
    // The texts as they are drawn at the current width (with an ellipsis when cut).
    QString drawnPrinterName() const;
    QString drawnDeviceInfo() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Layout {
        QRect nameRect, infoRect;
        QString name, info;
    };
    Layout layoutTexts() const;
    QFont nameFont() const;
    QFont infoFont() const;

    QString printerName_;
    QString deviceInfo_;
    bool deviceInfoShown_ = true;
};

// The header pane above the pages: icon, printer and interface, the options button.
class CHeaderView : public QWidget {
    Q_OBJECT
public:
    CHeaderView(const QString& optionsCaption, const QString& optionsTip, QWidget* parent = nullptr);

    void SetHeaderText(const QString& headerText);
    void SetDeviceInfoShown(bool shown);
    void SetIconShown(bool shown);
    bool iconShown() const;

    HeaderText* textArea() const { return text_; }
    QPushButton* optionsButton() const { return options_; }

signals:
    void optionsRequested();

private:
    QLabel* icon_;
    HeaderText* text_;
    QPushButton* options_;
};

}  // namespace vormex::gui
