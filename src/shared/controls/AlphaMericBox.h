#pragma once

#include <QLineEdit>
#include <QString>

class DataObject;
class QCompleter;
class QStringListModel;

// The windows' text box. On top of QLineEdit it filters what is typed (letter case, digits
// only), reads and writes its text as a number, and can offer earlier entries from the court
// database while the user types.
//
// casetype:  0 as typed, 1 upper case, 2 lower case.
// datatype:  2 digits only (a whole number of at most 18 digits); any other value takes any text.
// alignment: 0 left, 1 right (as numbers are shown), 2 centred.
// maxlength: the most characters the box holds; 0 means no limit of its own.
//
// The filters apply to typing, pasting and SetText alike, so the box never holds text that it
// would refuse from the keyboard: a keystroke or paste with a non-digit in a digits-only box is
// refused whole, while SetText keeps the digits of what it is given. SetStoredText alone shows a
// value as the court holds it; editing it then applies the rules to what the user enters only.
//
// A digits-only box entered while showing "0" takes the first typed digit in place of the 0.
//
// recordsource + mincharstoactivate: once the user has typed that many characters, the statement
// runs with the text followed by "%" bound to its question mark, and the first column of the
// rows it returns is offered in a pop-up list. A database error there is written to the log
// (category "zorva.controls") and nothing is offered: the box never shows a message itself.
class AlphaMericBox : public QLineEdit
{
    Q_OBJECT

public:
    enum CaseTypes { CaseAsTyped = 0, CaseUpper = 1, CaseLower = 2 };
    enum DataTypes { DataText = 0, DataNumeric = 2 };
    enum Alignments { AlignLeft = 0, AlignRight = 1 };

    explicit AlphaMericBox(QWidget *parent = nullptr);
    ~AlphaMericBox() override;

    int CaseType() const { return m_caseType; }
    void SetCaseType(int caseType);
    int DataType() const { return m_dataType; }
    void SetDataType(int dataType);
    void SetAlignment(int alignment);
    void SetMaxLength(int maxLength);

    // role: the connection the suggestions are read on (a window that only reads gives its own).
    void SetRecordSource(const QString &statement, const QString &role = QStringLiteral("data"));
    // Below 1 counts as 1: an empty box offers nothing.
    void SetMinCharsToActivate(int count);

    QString Text() const { return text(); }
    // Filtered as typing is; raises Change but not Edited.
    void SetText(const QString &text);
    // Unfiltered: a stored value longer than maxlength or in another letter case stays as it is,
    // and may be edited within its own length.
    void SetStoredText(const QString &text);

    // The text as a whole number; 0 when it is empty or not a number.
    qint64 Value() const;
    void SetValue(qint64 value);

    // The text brought into the box's rules: letter case, digits only, length.
    QString Conform(const QString &text) const;
    // The most characters the user may bring the text to.
    int Limit() const;

signals:
    // Every change of the text, by the user or by code.
    void Change();
    // The user's editing only (typing, pasting, cutting, picking an offered entry).
    void Edited(const QString &text);

protected:
    void focusInEvent(QFocusEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    class Rules;
    void OnTextEdited(const QString &text);
    void OnSuggestionChosen(const QString &text);
    void Offer(const QString &typed);
    void OnLookupError(qint32 number, const QString &description);

    int m_caseType = CaseAsTyped;
    int m_dataType = DataText;
    int m_maxLength = 0;
    QString m_recordSource;
    int m_minChars = 1;
    QString m_accepted; // the text before the edit under validation
    bool m_storing = false;
    bool m_zeroOnEntry = false; // entered showing 0, no key pressed since
    qsizetype m_storedSize = 0; // the length of a stored value shown, the most it may be edited to

    DataObject *m_lookup = nullptr;
    QStringListModel *m_suggestions = nullptr;
    QCompleter *m_completer = nullptr;
};
