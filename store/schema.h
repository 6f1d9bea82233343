#pragma once

#include "store/codepage.h"

#include <QtGlobal>
#include <vector>

namespace store {

// The widths the diary's numbers are declared with, in digits: an energy in
// kJ (of a catalogue entry, a diary entry or a day's total) and every other
// total of a day five, a booked nutrient in g and a booked duration in
// minutes four.
constexpr int kEnergyWidth = 5;
constexpr int kDayTotalWidth = 5;
constexpr int kNutrientWidth = 4;
constexpr int kMinutesWidth = 4;

// The largest whole number a numeric field of `width` digits without
// decimal places holds: 99999 for five.
constexpr qint64 largestWhole(int width)
{
    qint64 largest = 0;
    for (int i = 0; i < width; ++i)
        largest = largest * 10 + 9;
    return largest;
}

enum class FieldType { Character, Numeric, Date };

// A declared field. Character fields are blank-padded text in `codePage`;
// numeric fields are right-aligned decimal text with `decimals` places; date
// fields are YYYYMMDD.
struct FieldSpec
{
    const char* name;
    FieldType type;
    int width;
    int decimals = 0;
    CodePage codePage = CodePage::Cp850;
};

// A table file of the diary: its exact file name, its declared fields in
// their binding order, and for the catalogues the name index.
struct TableSchema
{
    const char* fileName;
    std::vector<FieldSpec> fields;
    // The single-key name index that sets the visiting order, if any.
    const char* indexFileName = nullptr;
    const char* indexField = nullptr;
    // The field that holds the record's day, for the day filter and for
    // finding a day's records without reading the whole table.
    const char* dayField = nullptr;
    // The settings table is addressed by field name only: a field it lacks
    // fails when it is read or written, not when the table is opened.
    bool fieldsOptional = false;
    // The code page the file's header declares (its language driver byte),
    // for other programs that read the file; the program itself converts
    // every character field by its own code page, whatever the header says.
    CodePage declaredCodePage = CodePage::Cp850;

    int fieldPosition(const char* name) const;
};

namespace schema {

const TableSchema& nrg(); // food catalogue ZEB_NRG.dbf with NRGNAME.NDX
const TableSchema& akt(); // activity catalogue ZEB_AKT.dbf with AKTNAME.NDX
const TableSchema& ntb(); // food diary ZEB_NTB.DBF
const TableSchema& ftb(); // activity diary ZEB_FTB.dbf
const TableSchema& zeb(); // daily summary ZEB_ZEB.dbf
const TableSchema& xtb(); // notes ZEB_XTB.dbf
const TableSchema& reg(); // settings ZEB_REG.dbf

// The seven tables in the order the program opens them: settings first, then
// activities, foods, food diary, activity diary, notes, daily summary.
const std::vector<const TableSchema*>& all();

// The nine file names of a diary: seven tables and two indexes.
std::vector<const char*> diaryFileNames();

} // namespace schema
} // namespace store
