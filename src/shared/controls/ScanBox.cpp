#include "ScanBox.h"

#include <QKeyEvent>
#include <QLineEdit>

void ScanBox::Install(QLineEdit *box) { box->installEventFilter(new ScanBox(box)); }

bool ScanBox::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::FocusOut || e->type() == QEvent::MouseButtonPress) {
        m_scanner.Clear();
        return false;
    }
    if (e->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(e);
    const qint64 at = ScannerInput::TimeOf(key);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        if (const std::optional<QString> scanned = m_scanner.Enter(at))
            static_cast<QLineEdit *>(watched)->setText(scanned->trimmed());
        return false; // the box's own Enter acts on it
    }
    const QString text = key->text();
    if (text.size() == 1 && text.at(0).isPrint() && (key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0)
        m_scanner.Key(text.at(0), at);
    else
        m_scanner.Clear(); // an edit or a move by hand: what came before is no part of a scan
    return false;
}
