#pragma once

#include <QString>
#include <QWidget>

class AlphaMericBox;
class Combo;
class DataLabel;
class DatePicker;
class FlexGrid;
class MailSlot;
class OptionButtonGroup;
class QCheckBox;
class QGridLayout;
class QLabel;
class QLocalServer;
class QPushButton;

// One window with every control the component's windows are built from, each labelled with its
// class name and, beside it, what it currently gives the window that owns it.
class GalleryWindow : public QWidget
{
    Q_OBJECT

public:
    // dataFolder holds the reference tables (ARYJDG.XML, ARYROM.XML, ARYTYP.XML).
    GalleryWindow(const QString &dataFolder, const QString &courtProblem, QWidget *parent = nullptr);

private:
    void AddRow(const QString &className, QWidget *control, QWidget *readout);
    QLabel *Readout(const char *name);
    FlexGrid *BuildGrid(const QString &dataFolder);
    void LoadCombo(Combo *combo, const QString &path, const QString &allRow);
    void SetListening(bool listen);
    void SendMessage();

    QGridLayout *m_rows = nullptr;
    AlphaMericBox *txtParty = nullptr;
    AlphaMericBox *txtNumber = nullptr;
    DataLabel *lblStyle = nullptr;
    DatePicker *dtpDate = nullptr;
    OptionButtonGroup *optAction = nullptr;
    Combo *cboJudge = nullptr;
    Combo *cboRoom = nullptr;
    MailSlot *mailslot = nullptr;
    QPushButton *cmdSend = nullptr;
    QCheckBox *chkListen = nullptr;
    QLabel *lblDelivery = nullptr;
    QLocalServer *m_server = nullptr;
    FlexGrid *grd = nullptr;
    QString m_problems;
};
