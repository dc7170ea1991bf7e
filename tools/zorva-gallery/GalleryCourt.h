#pragma once

#include <QString>
#include <QTemporaryDir>

// A throwaway court database with a few folders on loan, so that the party box has earlier
// entries to offer. It lives in a temporary folder that goes when the object does.
class GalleryCourt
{
public:
    GalleryCourt();
    ~GalleryCourt();
    GalleryCourt(const GalleryCourt &) = delete;
    GalleryCourt &operator=(const GalleryCourt &) = delete;

    // Empty when the court is ready; otherwise why it is not.
    QString Error() const { return m_error; }
    QString Url() const { return m_url; }

private:
    QTemporaryDir m_folder;
    QString m_url;
    QString m_error;
};
