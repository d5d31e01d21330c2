// The results window of the other slab types.

#include "results/results_fixture.h"
#include "results/widgets/brugerdefineret.h"
#include "results/widgets/results_windows.h"
#include "ui/controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using engine::Variant;

namespace {

class BrugerdefineretTest : public resultstest::ResultsFixture {
protected:
    void addResult(Fields fields) {
        // clang-format off
        addRow("ResultatBrugdef", {
            {"KarakteristiskMax", 5.125}, {"KarakteristiskMin", -3.456}, {"RetningsmMax", 7.5}, {"RetningsmMin", -4.2},
            {"Deformation", 1.005}, {"Uværdi", 0.2}, {"IsoFaktisk", 12.34}, {"IsoTilladt", 60}, {"IsoFaktisk2", 7.25},
            {"IsoTilladt2", 30}, {"RetningsmSpaendTrykFak", 3.1249}, {"RetningsmSpaendTrykTil", 12.5},
            {"RetningsmSpaendTraekFak", 1.355}, {"RetningsmSpaendTraekTil", 1.25},
            {"Oplysning1", "Brud ! Trækspændingen er for stor"}, {"Oplysning2", ""}, {"Oplysning3", ""},
            {"Oplysning4", ""}, {"Oplysning5", ""}});
        // clang-format on
        set("ResultatBrugdef", fields);
    }

    static std::unique_ptr<results::Brugerdefineret> load() {
        auto window = std::make_unique<results::Brugerdefineret>();
        window->Form_Load();
        return window;
    }
};

TEST_F(BrugerdefineretTest, FillsMomentsStressesPressuresAndRemarks) {
    addResult({});
    const auto w = load();
    EXPECT_TRUE(messages->shown.empty());
    // clang-format off
    const std::pair<const QLineEdit *, const char *> boxes[] = {
        {w->KarMaxPos, "5,13"}, {w->KarMaxNeg, "-3,46"}, {w->RegMaxPos, "7,50"}, {w->RegMaxNeg, "-4,20"},
        {w->Deform, "1,01"}, {w->UValue, "0,20"}, {w->RegIsoFak, "12,3"}, {w->RegIsoTil, "60,0"},
        {w->FakIso2, "7,3"}, {w->TilIso2, "30,0"}, {w->RegFakMax, "3,12"}, {w->RegMaxTil, "12,50"},
        {w->RegMinFak, "1,36"}, {w->RegMinTil, "1,25"}};
    // clang-format on
    for (const auto &[box, expected] : boxes)
        EXPECT_EQ(box->text(), expected) << box->objectName().toStdString();
    EXPECT_EQ(w->Oplysning[1]->text(), "Brud ! Trækspændingen er for stor");
    EXPECT_EQ(w->RapportNavn, "Bruger.rpt");
    EXPECT_TRUE(ui::Visible(w->lblIsolering2));
}

TEST_F(BrugerdefineretTest, NoSecondLayerChoosesTheOneLayerReportAndStillFillsTheStresses) {
    addResult({{"IsoTilladt2", 0}, {"IsoFaktisk2", 0}});
    const auto w = load();
    EXPECT_EQ(w->RapportNavn, "Bruger1.rpt");
    EXPECT_FALSE(ui::Visible(w->lblIsolering2));
    EXPECT_FALSE(ui::Visible(w->FakIso2));
    EXPECT_FALSE(ui::Visible(w->TilIso2));
    EXPECT_EQ(w->RegMinTil->text(), "1,25");
}

TEST_F(BrugerdefineretTest, LoadingFailuresNameTheWindowAndTheStep) {
    auto w = load();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(
        messages->shown[0].text.contains(QStringLiteral("Function: frmBrugerdefineret, Log nr. 13\rFejlnr.: 3021, ")));
    EXPECT_EQ(w->RapportNavn, "");

    messages->shown.clear();
    addResult({{"Oplysning4", Variant::Null()}});
    w = load();
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_TRUE(
        messages->shown[0].text.contains(QStringLiteral("Function: frmBrugerdefineret, Log nr. 17\rFejlnr.: 94, ")));
    EXPECT_EQ(w->RegMinTil->text(), "1,25");
    EXPECT_EQ(w->Oplysning[3]->text(), "");
}

TEST_F(BrugerdefineretTest, StacksItsFramesInOneColumnWithTheButtonsTopRight) {
    addResult({});
    const auto dialog = results::MakeBrugerdefineret(nullptr);
    const auto *w = dynamic_cast<results::Brugerdefineret *>(dialog.get());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName(), "Brugerdefineret");
    EXPECT_EQ(w->windowTitle(), "Beregningsresultater");
    EXPECT_EQ(w->RapportNavn, "Bruger.rpt");
    // One column: moments, stresses, pressure, then the captionless deflection, U-value and remark frames.
    std::vector<const QWidget *> frames;
    for (const QLineEdit *box : {w->KarMaxPos, w->RegFakMax, w->RegIsoFak, w->Deform, w->UValue, w->Oplysning[1]})
        frames.push_back(box->parentWidget());
    EXPECT_EQ(qobject_cast<const QGroupBox *>(frames[1])->title(), "Regningsmæssige spændinger");
    for (size_t i = 1; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i]->x(), frames[0]->x());
        EXPECT_GE(frames[i]->y(), frames[i - 1]->y() + frames[i - 1]->height());
    }
    EXPECT_GT(w->Command1[0]->x(), frames[0]->x() + frames[0]->width());
    EXPECT_LT(w->Command1[0]->y(), frames[1]->y());
    EXPECT_LT(w->Command1[0]->y(), w->Command1[1]->y());
    EXPECT_EQ(w->findChild<QLabel *>("lblSpaendingEnhed1")->text(), "MPa");
    EXPECT_EQ(w->findChild<QLineEdit *>("RegKapUarm"), nullptr);
}

} // namespace
