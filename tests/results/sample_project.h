#pragma once
// A whole project as the reports print it: company, project, input and the results of a concrete slab or of a
// user-defined slab, written straight into the tables.

#include "calc/design_input.h"
#include "data/connections.h"
#include "engine/engine.h"

#include <initializer_list>
#include <utility>

namespace resultstest {

using FieldList = std::initializer_list<std::pair<const char *, engine::Variant>>;

inline void setRow(const char *table, FieldList fields, int row = 0, bool add = false) {
    engine::Recordset rs;
    rs.Open(QString::fromUtf8(table), modMain::cnInddata, engine::adOpenKeyset, engine::adLockPessimistic,
            engine::adCmdTable);
    if (add)
        rs.AddNew();
    else
        rs.Move(row);
    for (const auto &[name, value] : fields)
        rs.Fields(QString::fromUtf8(name)) = value;
    rs.Update();
}

// clang-format off
inline void writeCompany() {
    setRow("Firma", {{"Navn", "Nordvest Rådgivning A/S"}, {"Adresse", "Havnegade 12"}, {"Postnr", "7400"},
                     {"By", "Herning"}, {"Tlf", "97 12 34 56"}, {"Fax", "97 12 34 57"}, {"DirekteTlf", "97 12 34 60"},
                     {"Kontakt", "Ida Holm"}, {"e-mail", "ih@nordvest.dk"}});
}

// A fresh input: the calculation tests' concrete slab on one layer (or a user-defined slab), an intermediate
// layer, a wheel load at an edge and an area load, and the project record.
inline void writeInput(bool concrete, bool twoLayers) {
    designinput::writeConcreteInput();
    setRow("projekt", {{"projektid", "Lagerhal 2, Vejle"}, {"beregner", "Ida Holm"}, {"dato", "14-03-2024"},
                       {"tekst", "Gulv i hal med truckkørsel"}});
    if (!concrete)
        setRow("inddata", {{"daekType", "Brugerdefineret"}, {"kvalitettext", "Brugerdefineret"},
                           {"TrykstyrkeRgm", 12.5}, {"TraekstyrkeRgm", 1.25}, {"dæktykkelse", 120.0}});
    setRow("inddata", {{"mellemlag", "Grus"}, {"mellemlagtykkelse", 150.0}, {"mellemlagkorr", 1.3}});
    if (twoLayers)
        designinput::setLayer(2, {{"IsoleringType", "EPS 80 Gulv"}, {"IsoleringTykkelse", 100.0}, {"Zigmao", 30.0},
                                  {"Zigman", 22.5}, {"LambdaTør", 0.037}, {"LambdaVåd", 0.04}, {"Eo", 3500.0},
                                  {"En", 1800.0}});
    designinput::setLoad(1, {{"Lasttype", "Hjultryk"}, {"Placering", "Kant"}, {"Afstandfra", 250.0},
                             {"Størrelse", 45.0}, {"PartialK", 1.3}});
    designinput::setLoad(4, {{"Lasttype", "Fladelast"}, {"LastForm", "Rektangel"}, {"bredde", 2000.0},
                             {"længde", 3000.0}, {"Placering", "Midt"}, {"Størrelse", 20.0}, {"PartialK", 1.5}});
}

// The result row, reinforcement rows and remarks of one calculation.
inline void writeResults(bool concrete, bool twoLayers) {
    const char *table = concrete ? "ResultatBeton" : "ResultatBrugdef";
    setRow(table, {{"Deformation", 1.234}, {"Uværdi", 0.1523}, {"IsoFaktisk", 38.27}, {"IsoTilladt", 60.0},
                   {"IsoFaktisk2", twoLayers ? engine::Variant(21.06) : engine::Variant(0)},
                   {"IsoTilladt2", twoLayers ? engine::Variant(30.0) : engine::Variant(0)},
                   {"Oplysning1", "Brud ! Tryk på isolering er for stort"}, {"Oplysning2", ""}, {"Oplysning3", ""},
                   {"Oplysning4", ""}, {"Oplysning5", ""}}, 0, true);
    if (concrete) {
        setRow(table, {{"KarakteristiskMaxPos", 7.456}, {"KarakteristiskMaxNeg", -3.456}, {"RetningsmMaxPos", 10.123},
                       {"RetningsmMaxNeg", -4.5}, {"RetningsmKapUarm", 12.8}});
        for (int s = 1; s <= 2; ++s)
            for (const int d : {6, 8, 10, 12, 16})
                for (const bool top : {false, true}) {
                    // No top reinforcement of diameter 6 of steel type 2: an empty cell.
                    const double area = top && d == 6 && s == 2 ? 0.0 : 161.57 + d + s + (top ? 0.5 : 0);
                    setRow("ResultatArmering", {{"Diameter", d}, {"StaalType", s}, {"Overside", top}, {"As", area},
                                                {"a", area == 0 ? 0.0 : 25.0 * d}}, 0, true);
                }
    } else {
        setRow(table, {{"KarakteristiskMax", 5.125}, {"KarakteristiskMin", -2.25}, {"RetningsmMax", 7.5},
                       {"RetningsmMin", -3.25}, {"RetningsmSpaendTrykFak", 3.1249}, {"RetningsmSpaendTrykTil", 12.5},
                       {"RetningsmSpaendTraekFak", 1.355}, {"RetningsmSpaendTraekTil", 1.25}});
    }
    setRow("ResultatOplysning", {{"Oplysning", "Brud ! Tryk på isolering er for stort"}}, 0, true);
    setRow("ResultatOplysning", {{"Oplysning", "Revnevidden er eftervist"}}, 0, true);
}
// clang-format on

} // namespace resultstest
