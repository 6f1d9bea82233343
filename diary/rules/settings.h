#pragma once

#include "store/table.h"

#include <QString>
#include <array>

// The settings record ZEB_REG.dbf: read once at start-up, written at the
// end and whenever the goals, the personal data or the display unit change.
// Indexed arrays run from 1; element 0 is unused.
struct Settings
{
    int NahrungKategorie = 1;
    int StatistikArt = 1;
    int ZoomStufeX = 1;
    std::array<int, 4> ScrollPosX{0, 104, 104, 104};
    int AktivKategorie = 0;
    std::array<int, 8> ZoomStufeY{0, 2, 2, 2, 2, 2, 2, 2};
    std::array<int, 4> ScrollPosY{0, 61, 61, 61};
    int Glaetten = 0;
    bool AnzeigeKcal = false;
    // Item indexes of the five goal combo boxes.
    int geschlecht = 0, alter = 0, beruf = 0, hoehe = 0, gewicht = 0;
    // The goal texts as stored: energy in kJ, nutrients in g.
    QString energie = QStringLiteral("0"), fett = QStringLiteral("0"), protein = QStringLiteral("0"),
            kohlenh = QStringLiteral("0");

    bool operator==(const Settings&) const = default;
};

// Reads the current record of the settings table field by field. A table
// without a record reads as all zeros and empty texts. Throws StoreError
// when a field cannot be read; the caller then takes the defaults.
Settings readSettings(const store::Table& reg);

// Every field of the settings record with its value from `settings`: what
// writeSettings writes and what a new diary's record holds. EA is 1 or 0.
store::Fields settingsFields(const Settings& settings);

// Writes all fields into the record being edited.
void writeSettings(store::Table& reg, const Settings& settings);
