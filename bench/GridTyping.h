#pragma once

#include "RawSqlite.h"
#include "TypedCases.h"

#include <QPointer>
#include <memory>

class QTableView;
class QTableWidget;
class QWidget;

// The batch window's lookup as the clerk meets it: the window opened through the component
// (clsFolder::EditBatch), a case number typed into its grid's entry row with key events, timed
// from the keystroke of the sequence's sixth digit until the case's title is shown in the grid
// (in the cell, and the grid painted since).
class BatchGridTyping
{
public:
    BatchGridTyping();
    ~BatchGridTyping();
    BatchGridTyping(const BatchGridTyping &) = delete;
    BatchGridTyping &operator=(const BatchGridTyping &) = delete;

    // Milliseconds; throws when the title is not shown within 5 s or is not the case's.
    double Type(const TypedCase &c);

private:
    QPointer<QWidget> m_window;
    QTableView *m_view = nullptr;
};

// Its baseline: the lookup statement and the style query through the raw sqlite3 C API, then
// what the batch window shows after them done to a plain QTableWidget (a window of the grid's
// size, five columns): the title set as a cell's text, a new entry row added under it and the
// current cell moved into it; timed until shown as above.
class PlainGridLookup
{
public:
    explicit PlainGridLookup(const std::string &file);
    ~PlainGridLookup();
    PlainGridLookup(const PlainGridLookup &) = delete;
    PlainGridLookup &operator=(const PlainGridLookup &) = delete;

    double Lookup(const TypedCase &c);

private:
    RawSqlite m_db;
    std::unique_ptr<QTableWidget> m_table;
};
