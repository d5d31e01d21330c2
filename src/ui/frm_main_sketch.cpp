// The cross-section sketch on the main window: the sketch run (foundation values, change test, drawing),
// the caption labels over the drawing area and the double-click that draws afresh.

#include "data/connections.h"
#include "kit/controls.h"
#include "kit/event_procedure.h"
#include "sketch/foundation.h"
#include "sketch/sketch.h"
#include "ui/frm_main.h"
#include "ui/sketch_canvas.h"

#include <QFrame>
#include <QLabel>
#include <cmath>

using sketch::Skt;

namespace {

const QString kForm = QStringLiteral("frmMain");

constexpr double kTwipsPerPx = ui::kTwipsPerPixel; // as a double: the sketch scales in fractions
// The superscripts' 6 points on a 96-dpi screen.
constexpr int kSuperscriptPixels = 8;

int Pixels(float twips) { return int(std::lround(twips / kTwipsPerPx)); }
float InTwips(int pixels) { return float(pixels * kTwipsPerPx); }

// The caption labels as the drawing places them, in twips; a label sizes itself to its caption.
class SketchLabels : public sketch::Captions {
public:
    SketchLabels(frmMain &w, const QColor &background) : w_(w), background_(background) {}

    void Clear(Skt label, int index) override {
        QLabel *l = at(label, index);
        l->hide();
        l->move(l->x(), 0);
        QPalette p = l->palette();
        p.setColor(QPalette::Window, background_);
        l->setPalette(p);
        l->setAutoFillBackground(true);
    }
    void SetCaption(Skt label, int index, const QString &caption) override {
        QLabel *l = at(label, index);
        l->setText(caption);
        l->adjustSize();
    }
    float Width(Skt label, int index) const override { return InTwips(at(label, index)->width()); }
    float Height(Skt label, int index) const override { return InTwips(at(label, index)->height()); }
    float Left(Skt label, int index) const override { return InTwips(at(label, index)->x()); }
    void SetLeft(Skt label, int index, float left) override {
        QLabel *l = at(label, index);
        l->move(Pixels(left), l->y());
    }
    void SetTop(Skt label, int index, float top) override {
        QLabel *l = at(label, index);
        l->move(l->x(), Pixels(top));
    }
    void Show(Skt label, int index) override { at(label, index)->show(); }

private:
    QLabel *at(Skt label, int index) const { return w_.SketchLabel(label, index); }

    frmMain &w_;
    QColor background_;
};

} // namespace

QLabel *&frmMain::SketchLabel(Skt label, int index) {
    const auto i = static_cast<std::size_t>(index);
    switch (label) {
    case Skt::Lastnr:
        return sktLastnr.at(i);
    case Skt::Laststr:
        return sktLaststr.at(i);
    case Skt::Laststr1:
        return sktLaststr1.at(i);
    case Skt::Daektype:
        return sktDaektype;
    case Skt::Itop:
        return sktItop;
    case Skt::Etop:
        return sktEtop.at(i);
    case Skt::Ibund:
        return sktIbund;
    case Skt::Ebund:
        return sktEbund.at(i);
    case Skt::mlm:
        return sktmlm;
    case Skt::Terr:
        return sktTerr;
    case Skt::UV:
        return sktUV.at(i);
    case Skt::Ballast:
        return sktBallast.at(i);
    }
    return sktDaektype;
}

void frmMain::BuildSketch() {
    SkitseFlade = new ui::SketchCanvas(Skitse);
    SkitseFlade->setObjectName(QStringLiteral("SkitseFlade"));
    SkitseFlade->setGeometry(Skitse->contentsRect());
    connect(SkitseFlade, &ui::SketchCanvas::doubleClicked, this, [this] { Skitse_DblClick(); });

    for (const sketch::CaptionLabel &c : sketch::kCaptionLabels) {
        for (int i = c.first; i <= c.last; ++i) {
            auto *l = new QLabel(sketch::FixedCaption(c.label, i), SkitseFlade);
            const QString name = QString::fromLatin1(c.name);
            l->setObjectName(c.array ? name + QStringLiteral("_") + QString::number(i) : name);
            // Names of layers and terrains come from tables and project files: shown as they are.
            l->setTextFormat(Qt::PlainText);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            if (sketch::IsSuperscript(c.label, i)) {
                QFont small = l->font();
                small.setPixelSize(kSuperscriptPixels);
                l->setFont(small);
            }
            l->adjustSize();
            l->hide();
            SketchLabel(c.label, i) = l;
        }
    }
}

void frmMain::TegnSkitse(bool Tvungen) {
    // The commit comes before the run's own error trap: its errors belong to the caller.
    GemInddata();
    sketch::FoundationRun run(modMain::cnInddata, LogNr);
    SketchLabels labels(*this, Skitse->palette().color(QPalette::Window));
    try {
        run.Open();
        sketch::FoundationResult r = run.Compute();
        if (!Tvungen)
            r.stored = run.Store(r.values);
        sketch::DrawSketch(Tvungen, r, SidsteTegning, *SkitseFlade, labels, LogNr);
    } catch (const engine::RuntimeError &e) {
        ReportError(e.number(), e.description(), LogNr, kForm);
    }
    LogNr = 284;
    run.Close();
}

void frmMain::Skitse_DblClick() {
    ui::RunEventProcedure(LogNr, kForm, [this] {
        LogNr = 945;
        TegnSkitse(true);
    });
}
