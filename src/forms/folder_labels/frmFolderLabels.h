#pragma once

#include "labels/FolderLabel.h"
#include "labels/LabelPrinter.h"

#include <QDialog>
#include <QList>

class QLabel;
class QPrinter;
class QPushButton;
class QRadioButton;
class QSpinBox;

// "Print labels": one label a case, on a sheet of 30 from a chosen position or on a roll, shown
// in a print preview, printed, or saved as a PDF. The layout chosen last is remembered.
class frmFolderLabels : public QDialog
{
    Q_OBJECT
public:
    explicit frmFolderLabels(const QList<FolderLabel> &labels, QWidget *parent = nullptr);

    // Reads the cases' titles and opens the dialog, modal. No cases, or a court that cannot be
    // read, is told in a box instead.
    static void PrintLabels(QWidget *parent, const QList<CaseKey> &keys);

private:
    void SetLayoutState();
    void cmdPreview_Click();
    void cmdPrint_Click();
    void cmdPdf_Click();
    void Prepare(QPrinter *printer) const;
    LabelLayout Layout() const;
    LabelPrinter Printer() const;

    QList<FolderLabel> m_labels;
    QRadioButton *optSheet = nullptr;
    QRadioButton *optRoll = nullptr;
    QSpinBox *spnStart = nullptr;
    QLabel *lblCount = nullptr;
    QPushButton *cmdPreview = nullptr;
    QPushButton *cmdPrint = nullptr;
    QPushButton *cmdPdf = nullptr;
    QPushButton *cmdClose = nullptr;
};
