#pragma once

#include <QString>
#include <string>

// The cases a clerk types into the batch window, spread over a court of `cases` cases as
// BenchCourt numbers and types them (2026, criminal and civil types in turn, 100000 + index).
struct TypedCase
{
    QString type;
    int sequence;

    static TypedCase Nth(int k, int cases)
    {
        static const char *types[] = {"CF", "CA", "CM", "SC"};
        const int index = (k * 97) % cases;
        return {QLatin1String(types[index % 4]), 100000 + index};
    }
};

// The case style program's query, as its stand-in sends it.
inline const std::string StyleQuery =
    "Select MASLTP,MASLIT,MASNAM,MASATY From MRLCRT.MASCRM Where MASYER=? And MASTYP=? And MASSEQ=? Union All "
    "Select MASLTP,MASLIT,MASNAM,MASATY From MRLCRT.MASCIV Where MASYER=? And MASTYP=? And MASSEQ=? Order By 1,2";
