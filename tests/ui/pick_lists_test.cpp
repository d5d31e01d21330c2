// How a pick list matches a typed text.

#include "ui/pick_lists.h"

#include <QLocale>
#include <gtest/gtest.h>

using ui::MatchRule;

namespace {

TEST(MatchEntry, EachRuleTakesTheFirstFittingEntryInListOrderWithDanishLettersCased) {
    QLocale::setDefault(QLocale(QLocale::Danish, QLocale::Denmark));
    const struct {
        QStringList list;
        MatchRule rule;
        const char *typed; // "text=index;...", -1 for none
    } cases[] = {
        {{"Lav", "Normal", "Høj"}, MatchRule::Prefix, "n=1;NOR=1;HØ=2;hø=2;Normalt=-1"},
        {{"EPS 80", "EPS 100", "EPS 150"}, MatchRule::Prefix, "eps 1=1"},
        // A whole entry goes before a longer one listed earlier.
        {{"Sandfyld", "Sand", "Sandsten"}, MatchRule::Prefix, "sand=1;san=0"},
        {{"Sandfyld", "Sand", "Sandsten"}, MatchRule::CapitalisedPrefix, "SAND=1"},
        {{"Beton", "Spånplade P5, 22 mm", "Brugerdefineret"}, MatchRule::WholeEntry, "BRUGERDEFINERET=2;bet=-1"},
        {{"Rektangel", "Kvadrat", "Cirkel", "Linielast"}, MatchRule::CapitalisedPrefix, "Rek=0;REK=0;Rektangler=-1"},
        {{"<ingen last>", "Hjultryk", "Punktlast", "Linielast"}, MatchRule::CapitalisedPrefix, "l=3"}};
    for (const auto &c : cases)
        for (const QString &t : QString::fromUtf8(c.typed).split(';'))
            EXPECT_EQ(ui::MatchEntry(c.list, t.section('=', 0, 0), c.rule), t.section('=', 1).toInt())
                << t.toStdString();
    QLocale::setDefault(QLocale::c());
}

} // namespace
