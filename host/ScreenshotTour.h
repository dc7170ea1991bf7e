#pragma once

#include <QDir>
#include <QObject>

class HostWindow;

// For a machine without a screen: opens the editor, the docket, batch and locator windows in
// turn from the host, saves a picture of every window that appears (message boxes included)
// into a folder, puts each away again and quits. The clerk's settings are left as they were.
class ScreenshotTour : public QObject
{
    Q_OBJECT

public:
    ScreenshotTour(HostWindow *host, const QString &folder, const QString &caseNumber);

    // Starts once the event loop runs; false (with the reason) when the folder cannot be made.
    bool Start(QString *error);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Take(QWidget *window);
    void TakeLocatorViews(QWidget *window, const QString &name);
    void Visit();

    HostWindow *m_host;
    QDir m_folder;
    QString m_caseNumber;
    int m_taken = 0;
    bool m_visiting = false;
};
