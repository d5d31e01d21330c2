#pragma once
// The main window with its real page procedures, on fresh databases under Danish regional settings; the sketch runs are
// recorded (and run), and the frames' repaints are counted.

#include "kit/controls.h"
#include "main_window_fixture.h"

#include <QEvent>
#include <QObject>
#include <map>

namespace uitest {

class PageMain : public frmMain {
public:
    int sketchRuns = 0;
    std::int16_t &opdaterer() { return Opdaterer; }
    void TegnSkitse(bool Tvungen) override {
        if (!Tvungen)
            ++sketchRuns;
        frmMain::TegnSkitse(Tvungen);
    }
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *w) : QObject(w) { w->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

class PageTest : public MainWindowTest {
protected:
    std::unique_ptr<PageMain> m;

    void TearDown() override {
        m.reset();
        MainWindowTest::TearDown();
    }

    enum class Page { Loads, Slab, Layers };

    // The window shown and activated on the stored input, its start picture gone and one page shown.
    void showPage(Page page) {
        m = std::make_unique<PageMain>();
        m->show();
        m->activateWindow();
        ASSERT_TRUE(waitForWindowActive(m.get()));
        m->imgOpstart->hide();
        m->lblFrmBund->show();
        m->Skitse->show();
        if (page == Page::Loads)
            m->frmLast->show();
        else if (page == Page::Slab)
            m->frmDaek->show();
        else
            for (QWidget *frame : std::initializer_list<QWidget *>{m->frmIsolering, m->frmMellemlag, m->frmTerraen})
                frame->show();
        processEvents();
        m->sketchRuns = 0;
        messages->shown.clear();
    }

    // A choice with the mouse, as the list's Click sees it.
    void choose(QComboBox *list, const QString &entry) {
        const int index = list->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
        ASSERT_GE(index, 0) << entry.toStdString();
        list->setCurrentIndex(index);
        emit list->activated(index);
        processEvents();
    }

    // Typed into a box that has the focus, then left with Tab; sketchRuns counts the runs from the moment the box had
    // the focus. An empty text deletes the box's text. Entering the box must have selected its whole text.
    void enter(QLineEdit *box, const QString &text) {
        box->setFocus();
        processEvents();
        sketchRunsBefore(box);
        if (text.isEmpty())
            keyClick(box, Qt::Key_Delete);
        keyClicks(box, text);
        keyClick(box, Qt::Key_Tab);
    }
    void sketchRunsBefore(QLineEdit *box) {
        ASSERT_EQ(QApplication::focusWidget(), box);
        ASSERT_EQ(box->selectedText(), box->text());
        m->sketchRuns = 0;
    }

    QWidget *focused() const { return QApplication::focusWidget(); }
};

} // namespace uitest
