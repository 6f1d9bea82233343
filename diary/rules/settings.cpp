#include "diary/rules/settings.h"

namespace {

int readInt(const store::Table& reg, const char* field)
{
    return static_cast<int>(reg.fieldInt(field));
}

} // namespace

Settings readSettings(const store::Table& reg)
{
    Settings s;
    s.NahrungKategorie = readInt(reg, "NF");
    s.StatistikArt = readInt(reg, "SF");
    s.ZoomStufeX = readInt(reg, "SZX");
    s.ScrollPosX = {0, readInt(reg, "SBM1"), readInt(reg, "SBM2"), readInt(reg, "SBM3")};
    s.AktivKategorie = readInt(reg, "AF");
    s.ZoomStufeY[1] = readInt(reg, "SZY1");
    s.ScrollPosY = {0, readInt(reg, "SBM4"), readInt(reg, "SBM5"), readInt(reg, "SBM6")};
    const char* const zoom[] = {"SZY2", "SZY3", "SZY4", "SZY5", "SZY6", "SZY7"};
    for (int i = 0; i < 6; ++i)
        s.ZoomStufeY[i + 2] = readInt(reg, zoom[i]);
    s.Glaetten = readInt(reg, "SG");
    s.AnzeigeKcal = reg.fieldInt("EA") == 1;
    s.geschlecht = readInt(reg, "CBG");
    s.alter = readInt(reg, "CBA");
    s.beruf = readInt(reg, "CBB");
    s.hoehe = readInt(reg, "CBH");
    s.gewicht = readInt(reg, "CBM");
    s.energie = reg.fieldText("EE");
    s.fett = reg.fieldText("EF");
    s.protein = reg.fieldText("EP");
    s.kohlenh = reg.fieldText("EK");
    return s;
}

void writeSettings(store::Table& reg, const Settings& s)
{
    auto put = [&reg](const char* field, qint64 value) { reg.setField(field, value); };
    put("NF", s.NahrungKategorie);
    put("SF", s.StatistikArt);
    put("SZX", s.ZoomStufeX);
    put("SBM1", s.ScrollPosX[1]);
    put("SBM2", s.ScrollPosX[2]);
    put("SBM3", s.ScrollPosX[3]);
    put("AF", s.AktivKategorie);
    put("SZY1", s.ZoomStufeY[1]);
    put("SBM4", s.ScrollPosY[1]);
    put("SBM5", s.ScrollPosY[2]);
    put("SBM6", s.ScrollPosY[3]);
    const char* const zoom[] = {"SZY2", "SZY3", "SZY4", "SZY5", "SZY6", "SZY7"};
    for (int i = 0; i < 6; ++i)
        put(zoom[i], s.ZoomStufeY[i + 2]);
    put("SG", s.Glaetten);
    put("EA", s.AnzeigeKcal ? 1 : 0);
    put("CBG", s.geschlecht);
    put("CBA", s.alter);
    put("CBB", s.beruf);
    put("CBH", s.hoehe);
    put("CBM", s.gewicht);
    reg.setField("EE", s.energie);
    reg.setField("EF", s.fett);
    reg.setField("EP", s.protein);
    reg.setField("EK", s.kohlenh);
}
