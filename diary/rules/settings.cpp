#include "diary/rules/settings.h"

#include <type_traits>

namespace {

// The one map of the settings record: each field with the member that holds
// it. `visit` is called with the field's name and the member.
template <typename S, typename Visit> void eachField(S& s, Visit visit)
{
    visit("NF", s.NahrungKategorie);
    visit("SF", s.StatistikArt);
    visit("SZX", s.ZoomStufeX);
    visit("SBM1", s.ScrollPosX[1]);
    visit("SBM2", s.ScrollPosX[2]);
    visit("SBM3", s.ScrollPosX[3]);
    visit("AF", s.AktivKategorie);
    visit("SZY1", s.ZoomStufeY[1]);
    visit("SBM4", s.ScrollPosY[1]);
    visit("SBM5", s.ScrollPosY[2]);
    visit("SBM6", s.ScrollPosY[3]);
    visit("SZY2", s.ZoomStufeY[2]);
    visit("SZY3", s.ZoomStufeY[3]);
    visit("SZY4", s.ZoomStufeY[4]);
    visit("SZY5", s.ZoomStufeY[5]);
    visit("SZY6", s.ZoomStufeY[6]);
    visit("SZY7", s.ZoomStufeY[7]);
    visit("SG", s.Glaetten);
    visit("EA", s.AnzeigeKcal);
    visit("CBG", s.geschlecht);
    visit("CBA", s.alter);
    visit("CBB", s.beruf);
    visit("CBH", s.hoehe);
    visit("CBM", s.gewicht);
    visit("EE", s.energie);
    visit("EF", s.fett);
    visit("EP", s.protein);
    visit("EK", s.kohlenh);
}

} // namespace

Settings readSettings(const store::Table& reg)
{
    Settings s;
    eachField(s, [&reg](const char* field, auto& member) {
        using Member = std::remove_reference_t<decltype(member)>;
        if constexpr (std::is_same_v<Member, QString>)
            member = reg.fieldText(field);
        else if constexpr (std::is_same_v<Member, bool>)
            member = reg.fieldInt(field) == 1;
        else
            member = static_cast<int>(reg.fieldInt(field));
    });
    return s;
}

store::Fields settingsFields(const Settings& s)
{
    store::Fields fields;
    eachField(s, [&fields](const char* field, const auto& member) {
        using Member = std::remove_cvref_t<decltype(member)>;
        if constexpr (std::is_same_v<Member, QString>)
            fields.push_back({field, member});
        else
            fields.push_back({field, qint64(member)});
    });
    return fields;
}

void writeSettings(store::Table& reg, const Settings& s)
{
    reg.setFields(settingsFields(s));
}
