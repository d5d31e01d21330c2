// The ten pick lists of the main window: their match rules, statement numbers and the page refreshes
// that a Click and a LostFocus run.

#include "engine/errors.h"
#include "kit/data_source.h"
#include "platform/numbers.h"
#include "ui/frm_main.h"
#include "ui/pick_lists.h"

#include <QLineEdit>

using ui::MatchRule;
using ui::PickListDesign;

namespace {

// The stored text of a field of the input record differs from the list's completed text (case counts).
bool DiffersFromStored(ui::DataSource *rsInddata, const QString &field, const QString &text) {
    if (!rsInddata)
        engine::raise(91, QStringLiteral("Object variable or With block variable not set"));
    const engine::Variant stored = rsInddata->Fields(field).Value();
    return stored.isNull() || platform::CStr(stored) != text;
}

// The hidden box already holds the choice; the word for none stands for its empty text.
bool HeldBy(const QLineEdit *hidden, const QString &text, const QString &none) {
    return text == hidden->text() || (text == none && hidden->text().isEmpty());
}

} // namespace

void frmMain::WirePickLists() {
    const ui::PickListContext ctx{&TastTrykket, &LogNr, QStringLiteral("frmMain"), alive_};
    // Each list owns its mechanism.
    const auto add = [&](QComboBox *list, PickListDesign design) { new ui::PickList(list, std::move(design), ctx); };

    add(cmbDaekType, {MatchRule::WholeEntry, 795, 796, 800, 805, [this] { OpdaterDaekType(); },
                      [this](const QString &text) {
                          if (DiffersFromStored(rsInddata, QStringLiteral("daekType"), text))
                              OpdaterDaekType();
                      }});
    add(cmbDaekSikkerhedsklasse, {MatchRule::Prefix, 513, 573, 580, 585, [this] { OpdaterSikkerhedsklasse(); },
                                  [this](const QString &text) {
                                      if (DiffersFromStored(rsInddata, QStringLiteral("sikkerhedsklassetext"), text))
                                          OpdaterSikkerhedsklasse();
                                  }});
    add(cmbDaekKvalitet, {MatchRule::Prefix, 490, 493, 500, 507, [this] { OpdaterBetonKvalitet(); },
                          [this](const QString &) { OpdaterBetonKvalitet(); }});
    add(cmbMKlasse, {MatchRule::Prefix, 520, 523, 527, 533,
                     [this] {
                         OpdaterMiljoeklasse();
                         GemInddata();
                     },
                     [this](const QString &text) {
                         if (DiffersFromStored(rsInddata, QStringLiteral("Miljøklasse"), text))
                             OpdaterMiljoeklasse();
                     }});
    add(cmbIsoleringType, {MatchRule::Prefix, 595, 596, 600, 605, [this] { OpdaterIsolering(); },
                           [this](const QString &text) {
                               if (!HeldBy(txtIsoleringType, text, QStringLiteral("<ingen isolering>")))
                                   OpdaterIsolering();
                           }});
    add(cmbMellemlagType, {MatchRule::Prefix, 540, 541, 545, 550, [this] { OpdaterMellemlag(); },
                           [this](const QString &) { OpdaterMellemlag(); }});
    add(cmbTerraenType, {MatchRule::Prefix, 558, 561, 565, 570, [this] { OpdaterTerraen(); },
                         [this](const QString &) { OpdaterTerraen(); }});
    add(cmbLastType, {MatchRule::CapitalisedPrefix, 720, 755, 760, 765, [this] { VisLast(*dataLast); },
                      [this](const QString &text) {
                          if (!HeldBy(txtLastType, text, QStringLiteral("<ingen last>")))
                              VisLast(*dataLast);
                      }});
    add(cmbLastForm, {MatchRule::CapitalisedPrefix, 620, 623, 630, 635, [this] { OpdaterLastForm(); },
                      [this](const QString &) { OpdaterLastForm(); }});
    add(cmbLastPlacering, {MatchRule::CapitalisedPrefix, 646, 650, 655, 660, [this] { OpdaterLastPlacering(); },
                           [this](const QString &) { OpdaterLastPlacering(); }});
}
