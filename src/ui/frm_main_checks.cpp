// The whole-input check before a calculation and the page checks before a page or record is left. Both test
// the same rows, the whole check on the stored records, a page check on the controls of the shown page; the
// first failing row shows its message and puts the focus in its field.

#include "data/connections.h"
#include "kit/controls.h"
#include "kit/data_source.h"
#include "kit/focus.h"
#include "platform/message_box.h"
#include "platform/numbers.h"
#include "ui/frm_main.h"
#include "ui/page_controls.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <iterator>
#include <optional>

namespace {

// The values that the checks read; a failure names the one whose field takes the focus.
enum class Felt {
    LastType,
    AfstandLastpar,
    LastForm,
    Bredde,
    Laengde,
    Placering,
    AfstandFra,
    Stoerrelse,
    PartialK,
    DaekType,
    Sikkerhedsklasse,
    Kvalitet,
    Trykstyrke,
    Traekstyrke,
    Eo,
    En,
    Go,
    Gn,
    Tykkelse,
    MKlasse,
    IsoleringType,
    IsoleringTykkelse,
    MellemlagType,
    MellemlagTykkelse,
    TerraenType,
    TerraenBallast
};

struct Fejl {
    QString tekst;
    Felt felt;
};
using Udfald = std::optional<Fejl>;

// Where a check reads: a number is read only when a row needs it, so a value that no row looks at is never
// converted.
class Kilde {
public:
    virtual ~Kilde() = default;
    virtual QString Tekst(Felt f) const = 0;
    virtual double Tal(Felt f) const = 0;
};

// Each value's control on its page and its field in the record that holds it.
struct Plads {
    QWidget *kontrol;
    const char *felt;
};

Plads Find(const frmMain &w, Felt f) {
    // In the order of Felt.
    const Plads pladser[] = {{w.cmbLastType, "Lasttype"},
                             {w.txtAfstandLastpar, "Afstand"},
                             {w.cmbLastForm, "LastForm"},
                             {w.txtLastFormBredde, "bredde"},
                             {w.txtLastFormLaengde, "længde"},
                             {w.cmbLastPlacering, "Placering"},
                             {w.txtLastKantFugeAfstand, "Afstandfra"},
                             {w.txtLastStorrelse, "Størrelse"},
                             {w.txtPartialK, "PartialK"},
                             {w.cmbDaekType, "daekType"},
                             {w.cmbDaekSikkerhedsklasse, "sikkerhedsklassetext"},
                             {w.cmbDaekKvalitet, "kvalitettext"},
                             {w.txtDaekTrykstyrke, "TrykstyrkeRgm"},
                             {w.txtDaekTraekstyrke, "TraekstyrkeRgm"},
                             {w.txtDaekEo, "Eo"},
                             {w.txtDaekEn, "En"},
                             {w.txtDaekGo, "Go"},
                             {w.txtDaekGn, "GN"},
                             {w.txtDaekTykkelse, "dæktykkelse"},
                             {w.cmbMKlasse, "Miljøklasse"},
                             {w.cmbIsoleringType, "IsoleringType"},
                             {w.txtIsoleringTykkelse, "IsoleringTykkelse"},
                             {w.cmbMellemlagType, "mellemlag"},
                             {w.txtMellemlagTykkelse, "mellemlagtykkelse"},
                             {w.cmbTerraenType, "terræn"},
                             {w.txtTerraenBallast, "terrænballast"}};
    static_assert(std::size(pladser) == static_cast<size_t>(Felt::TerraenBallast) + 1);
    return pladser[static_cast<size_t>(f)];
}

QWidget *Kontrol(const frmMain &w, Felt f) { return Find(w, f).kontrol; }

// The controls of the shown page; a box's text is read as the runtime reads a number (text that is no
// number raises 13).
class Kontroller : public Kilde {
public:
    explicit Kontroller(const frmMain &w) : w_(w) {}
    QString Tekst(Felt f) const override {
        QWidget *c = Kontrol(w_, f);
        if (auto *list = qobject_cast<QComboBox *>(c))
            return ui::ListText(list);
        return static_cast<QLineEdit *>(c)->text();
    }
    double Tal(Felt f) const override { return platform::CDbl(Tekst(f)); }

private:
    const frmMain &w_;
};

// The current record of a recordset. A Null text counts as empty, so a record without a shape or a placement
// fails its row instead of reaching the calculation; a Null number raises 94.
class Post : public Kilde {
public:
    Post(const frmMain &w, const engine::Recordset &rs) : w_(w), rs_(rs) {}
    QString Tekst(Felt f) const override {
        const engine::Variant v = Field(f).Value();
        return v.isNull() ? QString() : platform::CStr(v);
    }
    double Tal(Felt f) const override { return Field(f).Value().toDouble(); }

private:
    engine::Field Field(Felt f) const { return rs_.Fields(QString::fromUtf8(Find(w_, f).felt)); }
    const frmMain &w_;
    const engine::Recordset &rs_;
};

// The rows of one load of the given type. Statement numbers 10 to 17.
Udfald TestLast(const Kilde &k, const QString &type, std::int32_t &LogNr) {
    if (type != QStringLiteral("Fladelast")) {
        const bool lastpar = type == QStringLiteral("Lastpar");
        const double maks = lastpar ? 300 : 500;
        LogNr = 10;
        if (lastpar) {
            const double afstand = k.Tal(Felt::AfstandLastpar);
            if (afstand < 0.7 || afstand > 6)
                return Fejl{QStringLiteral("Afstand mellem laster skal være mellem 0,7 m og 6.0 m"),
                            Felt::AfstandLastpar};
        }
        LogNr = 11;
        const QString form = k.Tekst(Felt::LastForm);
        if (form.isEmpty())
            return Fejl{QStringLiteral("Lastformen skal angives"), Felt::LastForm};
        LogNr = 12;
        const double bredde = k.Tal(Felt::Bredde);
        if (bredde <= 0 || bredde > maks) {
            const bool cirkel = form == QStringLiteral("Cirkel");
            QString tekst;
            if (lastpar)
                tekst = cirkel ? QStringLiteral("Diameter på lasten skal angives og må max. være 300 mm")
                               : QStringLiteral("Bredden på lasten skal angives og må max. være 300 mm");
            else
                tekst = cirkel ? QStringLiteral("Diameter på lasten skal angives og må max. være 500 mm")
                               : QStringLiteral("Bredden på lasten skal angives og må max. være 500 mm");
            return Fejl{tekst, Felt::Bredde};
        }
        LogNr = 13;
        if (form == QStringLiteral("Rektangel")) {
            const double laengde = k.Tal(Felt::Laengde);
            if (laengde <= 0 || laengde > maks)
                return Fejl{lastpar ? QStringLiteral("Længden på lasten skal angives og må max. være 300 mm")
                                    : QStringLiteral("Længden på lasten skal angives og må max. være 500 mm"),
                            Felt::Laengde};
        }
        LogNr = 14;
        const QString placering = k.Tekst(Felt::Placering);
        if (placering.isEmpty())
            return Fejl{QStringLiteral("Lastens placering skal angives"), Felt::Placering};
        LogNr = 15;
        if (placering != QStringLiteral("Midt")) {
            const double afstandFra = k.Tal(Felt::AfstandFra);
            if (afstandFra <= 0 || afstandFra > 5600)
                return Fejl{QStringLiteral("Afstand fra kant/fuge skal angives og må max. være 5600 mm"),
                            Felt::AfstandFra};
        }
    }
    LogNr = 16;
    if (k.Tal(Felt::Stoerrelse) <= 0)
        return Fejl{QStringLiteral("Lasten størrelse skal være positiv"), Felt::Stoerrelse};
    LogNr = 17;
    if (k.Tal(Felt::PartialK) <= 0)
        return Fejl{QStringLiteral("Partialkoefficient skal skal være positiv"), Felt::PartialK};
    return std::nullopt;
}

// The slab's rows. The whole check refuses an empty slab type and names the moduli by their fields; the page
// check lets an empty type pass and names them as the page does. Statement numbers 30 to 41.
Udfald TestDaek(const Kilde &k, bool hele, std::int32_t &LogNr) {
    LogNr = 30;
    const QString type = k.Tekst(Felt::DaekType);
    if (type.isEmpty()) {
        if (!hele)
            return std::nullopt;
        return Fejl{QStringLiteral("Daektypen skal angives"), Felt::DaekType};
    }
    const bool beton = type == QStringLiteral("Beton");
    LogNr = 31;
    if (beton && k.Tekst(Felt::Sikkerhedsklasse).isEmpty())
        return Fejl{QStringLiteral("Sikkerhedsklasse skal angives"), Felt::Sikkerhedsklasse};
    LogNr = 32;
    if (beton && k.Tekst(Felt::Kvalitet).isEmpty())
        return Fejl{QStringLiteral("Kvalitet skal angives"), Felt::Kvalitet};
    LogNr = 33;
    if (k.Tekst(Felt::Kvalitet) == QStringLiteral("Brugerdefineret")) {
        const struct {
            Felt felt;
            QString side, hele;
        } positive[] = {
            {Felt::Trykstyrke, QStringLiteral("Regningsmæssig trykstyrke skal være positiv"),
             QStringLiteral("Regningsmæssig trykstyrke skal være positiv")},
            {Felt::Traekstyrke, QStringLiteral("Regningsmæssig trækstyrke skal være positiv"),
             QStringLiteral("Regningsmæssig trækstyrke skal være positiv")},
            {Felt::Eo, QStringLiteral("E(korttid) skal være positiv"), QStringLiteral("Eo skal være positiv")},
            {Felt::En, QStringLiteral("E(langtid) skal være positiv"), QStringLiteral("En skal være positiv")},
            {Felt::Go, QStringLiteral("G(korttid) skal være positiv"), QStringLiteral("Go skal være positiv")},
            {Felt::Gn, QStringLiteral("G(langtid) skal være positiv"), QStringLiteral("Gn skal være positiv")},
        };
        for (const auto &row : positive) {
            ++LogNr;
            if (k.Tal(row.felt) <= 0)
                return Fejl{hele ? row.hele : row.side, row.felt};
        }
    }
    LogNr = 40;
    const double tykkelse = k.Tal(Felt::Tykkelse);
    if (beton && (tykkelse < 25 || tykkelse > 10000))
        return Fejl{QStringLiteral("Tykkelsen på dækket skal være min. 25 mm og max. 10.000 mm."), Felt::Tykkelse};
    if (!beton && (tykkelse < 1 || tykkelse > 10000))
        return Fejl{QStringLiteral("Tykkelsen på dækket skal være min. 1 mm og max. 10.000 mm."), Felt::Tykkelse};
    LogNr = 41;
    if (beton && k.Tekst(Felt::MKlasse).isEmpty())
        return Fejl{QStringLiteral("Miljøklasse skal angives"), Felt::MKlasse};
    return std::nullopt;
}

// The thickness of a layer that is given.
Udfald TestIsolering(const Kilde &k) {
    const double tykkelse = k.Tal(Felt::IsoleringTykkelse);
    if (tykkelse < 1 || tykkelse > 10000)
        return Fejl{QStringLiteral("Tykkelsen på isolering skal være min. 1 mm og max. 10.000 mm."),
                    Felt::IsoleringTykkelse};
    return std::nullopt;
}

// The intermediate layer and the terrain; only the whole check refuses an empty terrain. Statement numbers 60
// to 63.
Udfald TestMellemlagTerraen(const Kilde &k, bool hele, std::int32_t &LogNr) {
    LogNr = 60;
    const QString mellemlag = k.Tekst(Felt::MellemlagType);
    if (mellemlag.isEmpty())
        return Fejl{QStringLiteral("Mellemlag skal angives"), Felt::MellemlagType};
    LogNr = 61;
    if (mellemlag != QStringLiteral("Intet")) {
        const double tykkelse = k.Tal(Felt::MellemlagTykkelse);
        if (tykkelse < 1 || tykkelse > 10000)
            return Fejl{QStringLiteral("Tykkelsen på mellemlaget skal være min. 1 mm og max. 10.000 mm."),
                        Felt::MellemlagTykkelse};
    }
    LogNr = 62;
    const QString terraen = k.Tekst(Felt::TerraenType);
    if (terraen.isEmpty()) {
        if (!hele)
            return std::nullopt;
        return Fejl{QStringLiteral("Terræn skal angives"), Felt::TerraenType};
    }
    LogNr = 63;
    if (terraen == QStringLiteral("Brugerdefineret") && k.Tal(Felt::TerraenBallast) <= 0)
        return Fejl{QStringLiteral("Terrænets ballasttal skal skal være positiv"), Felt::TerraenBallast};
    return std::nullopt;
}

// Moves a bound record to the one whose key field holds key; to the first record when none does.
void MoveToKey(ui::DataSource &rs, const QString &keyField, const engine::Variant &key) {
    if (rs.Fields(keyField).Value() == key)
        return;
    rs.MoveFirst();
    while (!rs.Eof() && !(rs.Fields(keyField).Value() == key))
        rs.MoveNext();
    if (rs.Eof())
        rs.MoveFirst();
}

// Tests each record that holds an entry (its type not empty), from the first record on; the first failure comes
// back with the record's key. When no record holds an entry, none fails on the first record. Statement numbers
// from first to first + 4.
template <class Test>
std::optional<std::pair<Fejl, engine::Variant>> Records(const frmMain &w, engine::Recordset &rs, Felt type,
                                                        const QString &keyField, const Fejl &none, Test test,
                                                        std::int32_t &LogNr, std::int32_t first) {
    bool any = false;
    for (;;) {
        LogNr = first;
        if (rs.Eof())
            break;
        LogNr = first + 1;
        const Post post(w, rs);
        const QString entry = post.Tekst(type);
        if (!entry.isEmpty()) {
            any = true;
            LogNr = first + 2;
            if (const Udfald fejl = test(post, entry))
                return std::pair{*fejl, rs.Fields(keyField).Value()};
        }
        LogNr = first + 3;
        rs.MoveNext();
    }
    if (any)
        return std::nullopt;
    LogNr = first + 4;
    rs.MoveFirst();
    return std::pair{none, rs.Fields(keyField).Value()};
}

// A page check's failure: its message, and the focus in its field.
bool Shown(const frmMain &w, const Udfald &fejl) {
    if (!fejl)
        return true;
    platform::MsgBox(fejl->tekst);
    ui::focus::MoveTo(Kontrol(w, fejl->felt));
    return false;
}

} // namespace

// The page checks run under the statement number of the event procedure that called them: the rows number
// themselves only for the whole check.

bool frmMain::CheckLast() {
    if (ui::ListText(cmbLastType) == QStringLiteral("<ingen last>"))
        return true;
    std::int32_t rowNr = LogNr;
    return Shown(*this, TestLast(Kontroller(*this), ui::ListText(cmbLastType), rowNr));
}

bool frmMain::CheckDaek() {
    std::int32_t rowNr = LogNr;
    return Shown(*this, TestDaek(Kontroller(*this), false, rowNr));
}

bool frmMain::CheckIsolering() {
    if (ui::ListText(cmbIsoleringType) == QStringLiteral("<ingen isolering>"))
        return true;
    return Shown(*this, TestIsolering(Kontroller(*this)));
}

bool frmMain::CheckMellemlagTerraen() {
    std::int32_t rowNr = LogNr;
    return Shown(*this, TestMellemlagTerraen(Kontroller(*this), false, rowNr));
}

bool frmMain::CheckInddata() {
    LogNr = 1;
    GemInddata();
    LogNr = 2;
    engine::Recordset rsInd, rsIsol, rsLast;
    rsInd.Open(QStringLiteral("inddata"), modMain::cnInddata, engine::adOpenDynamic, engine::adLockPessimistic,
               engine::adCmdTable);
    LogNr = 3;
    rsIsol.Open(QStringLiteral("inddataisolering"), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
                engine::adCmdTable);
    LogNr = 4;
    rsLast.Open(QStringLiteral("inddatalast"), modMain::cnInddata, engine::adOpenStatic, engine::adLockReadOnly,
                engine::adCmdTable);

    // Loads, each with its own rows; the first failing row ends the check.
    if (const auto fejl = Records(
            *this, rsLast, Felt::LastType, QStringLiteral("lastid"),
            {QStringLiteral("Der skal angives mindst en last"), Felt::LastType},
            [this](const Post &post, const QString &type) { return TestLast(post, type, LogNr); }, LogNr, 5)) {
        platform::MsgBox(fejl->first.tekst);
        ShowLoadFailure(fejl->second, Kontrol(*this, fejl->first.felt));
        return false;
    }

    LogNr = 25;
    rsInd.MoveFirst();
    if (const Udfald fejl = TestDaek(Post(*this, rsInd), true, LogNr)) {
        platform::MsgBox(fejl->tekst);
        ShowSlabFailure(Kontrol(*this, fejl->felt));
        return false;
    }

    if (const auto fejl = Records(
            *this, rsIsol, Felt::IsoleringType, QStringLiteral("lagnr"),
            {QStringLiteral("Der skal angives mindst et isoleringslag"), Felt::IsoleringType},
            [](const Post &post, const QString &) { return TestIsolering(post); }, LogNr, 50)) {
        platform::MsgBox(fejl->first.tekst);
        ShowLayerFailure(&fejl->second, Kontrol(*this, fejl->first.felt));
        return false;
    }

    if (const Udfald fejl = TestMellemlagTerraen(Post(*this, rsInd), true, LogNr)) {
        platform::MsgBox(fejl->tekst);
        ShowLayerFailure(nullptr, Kontrol(*this, fejl->felt));
        return false;
    }

    LogNr = 65;
    rsInd.Close();
    rsIsol.Close();
    rsLast.Close();
    return true;
}

void frmMain::ShowLoadFailure(const engine::Variant &lastid, QWidget *field) {
    LogNr = 70;
    MoveToKey(*dataLast, QStringLiteral("lastid"), lastid);
    LogNr = 71;
    ShowLoadType();
    LogNr = 72;
    ShowPage(1);
    LogNr = 73;
    {
        ui::RaisedCounter refreshing(Opdaterer);
        VisLast(*dataLast);
    }
    LogNr = 74;
    frmLast->update();
    FormaterLast(dataLast->Recordset());
    ui::focus::MoveTo(cmbLastType);
    LogNr = 75;
    ui::focus::MoveTo(field);
}

void frmMain::ShowSlabFailure(QWidget *field) {
    LogNr = 78;
    ShowPage(2);
    LogNr = 79;
    {
        ui::RaisedCounter refreshing(Opdaterer);
        OpdaterDaekType();
    }
    LogNr = 80;
    FormaterDaek();
    LogNr = 81;
    ui::focus::MoveTo(field);
}

void frmMain::ShowLayerFailure(const engine::Variant *lagnr, QWidget *field) {
    if (lagnr) {
        LogNr = 823;
        MoveToKey(*dataIsolering, QStringLiteral("lagnr"), *lagnr);
        LogNr = 824;
        ShowLayerType();
    }
    LogNr = 83;
    ShowPage(3);
    LogNr = 84;
    {
        ui::RaisedCounter refreshing(Opdaterer);
        OpdaterTerraen();
    }
    LogNr = 85;
    FormaterDaek();
    FormaterIsolering();
    LogNr = 86;
    ui::focus::MoveTo(field);
    LogNr = 87;
}
