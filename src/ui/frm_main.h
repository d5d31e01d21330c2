#pragma once
// frmMain, the program's one main window: header, button bar, start picture, the three input pages bound to
// the input tables, the wizard buttons and the cross-section sketch.

#include "engine/engine.h"
#include "platform/common_dialog.h"
#include "sketch/sketch.h"

#include <QMainWindow>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class QComboBox;
class QDialog;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace ui {
class CommandButton;
class DataSource;
class SketchCanvas;
} // namespace ui

class frmMain : public QMainWindow {
    Q_OBJECT
public:
    // Builds the window and runs Form_Load.
    explicit frmMain(QWidget *parent = nullptr);
    ~frmMain() override;

    // Statement number of the running procedure of this window.
    std::int32_t LogNr = 0;
    void ReportError(std::int32_t errNumber, const QString &description, std::int32_t logNr,
                     const QString &functionName);

    // Event procedures.
    void Form_Load();
    void Form_Activate();
    // True keeps the window open.
    bool Form_QueryUnload();
    void Command1_Click(int Index);
    // The wizard buttons and the record moves of the load and layer pages.
    void btnForrige_Click();
    void btnNaeste_Click();
    void btnMoveLast_Click(int Index);
    void btnMoveIsolering_Click(int Index);
    // The calculate command.
    void btnBeregning_Click();

    // True when valid. A failure has shown its message and put the focus in the failing field; the whole-input
    // check of the stored input also shows the field's page and record, the page checks read the shown controls.
    bool CheckInddata();
    bool CheckLast();
    bool CheckDaek();
    bool CheckIsolering();
    bool CheckMellemlagTerraen();

    // Shows one of the program's modal windows; the main window is activated again when it closes.
    void ShowModal(QDialog &dialog);

    // Commits the pending edits of the three pages.
    void GemInddata();
    // Derives the foundation values (an unforced run stores them) and draws the sketch.
    virtual void TegnSkitse(bool Tvungen);
    // A double-click on the sketch draws it afresh.
    void Skitse_DblClick();
    // The caption label of the sketch with that name and index.
    QLabel *&SketchLabel(sketch::Skt label, int index);

    // Parameter look-ups: the first row whose key equals the pick list's text fills the page's boxes.
    void HentDaeklag();
    void HentMellemlag();
    void HentDaekType();
    void HentTerraen();
    void HentIsolering();

    // Page procedures that bring a page in line with a choice, and the display formats of the boxes.
    virtual void OpdaterDaekType();
    virtual void OpdaterMiljoeklasse();
    virtual void OpdaterSikkerhedsklasse();
    virtual void OpdaterBetonKvalitet();
    virtual void OpdaterIsolering();
    virtual void OpdaterMellemlag();
    virtual void OpdaterTerraen();
    virtual void VisLast(ui::DataSource &rs);
    virtual void OpdaterLastForm();
    virtual void OpdaterLastPlacering();
    virtual void FormaterLast(const engine::Recordset &rs);
    virtual void FormaterDaek();
    virtual void FormaterIsolering();
    // The concrete design values from the quality and the safety class.
    void BeregnBetonStyrke();

    // ---- Controls, named as the window procedures name them.
    QLabel *lblFundator, *lblProgram, *lblMetode, *lblVersion;
    std::array<ui::CommandButton *, 7> Command1{}; // indices 0, 2, 4, 5, 6
    QLabel *imgOpstart;
    QLabel *lblFrmBund;
    ui::CommandButton *btnBeregning, *btnForrige, *btnNaeste;
    QFrame *Skitse;
    // The sketch's drawing area inside Skitse, and its caption labels (the load captions numbered 1 to 4).
    ui::SketchCanvas *SkitseFlade = nullptr;
    std::array<QLabel *, 5> sktLastnr{}, sktLaststr{}, sktLaststr1{};
    QLabel *sktDaektype = nullptr, *sktItop = nullptr, *sktIbund = nullptr, *sktmlm = nullptr, *sktTerr = nullptr;
    std::array<QLabel *, 6> sktEtop{}, sktEbund{};
    std::array<QLabel *, 3> sktUV{};
    std::array<QLabel *, 2> sktBallast{};
    platform::CommonDialog CommonDialog1; // for the help file only

    QGroupBox *frmLast;
    QLabel *lblLastText1, *lblLastText2, *lblLastText3;
    QLabel *lblLastNr, *lblLastType, *lblLastForm, *lblLastFormBredde, *lblLastFormBreddeEnhed, *lblLastFormLaengde,
        *lblLastFormLaengdeEnhed, *lblLastPlacering, *lblLastKantFugeAfstand, *lblLastKantFugeAfstandEnhed,
        *lblAfstandLastpar, *lblAfstandLastparEnhed, *lblLastStorrelse, *lblPartialK;
    std::array<QLabel *, 2> lblLastStorrelseEnhed{};
    QLineEdit *txtLastNr, *txtLastType, *txtLastFormBredde, *txtLastFormLaengde, *txtLastKantFugeAfstand,
        *txtAfstandLastpar, *txtLastStorrelse, *txtPartialK;
    QComboBox *cmbLastType, *cmbLastForm, *cmbLastPlacering;
    std::array<ui::CommandButton *, 2> btnMoveLast{};
    ui::DataSource *dataLast;

    QGroupBox *frmDaek;
    QLabel *lblDaekText, *lblDaekType, *lblDaekTykkelse, *lblDaekTykkelseEnhed, *lblDaekSikkerhedsklasse,
        *lblDaekKvalitet, *lblDaekTrykstyrke, *lblDaekTrykstyrkeEnhed, *lblDaekTraekstyrke, *lblDaekTraekstyrkeEnhed,
        *lblDaekTraekstyrkeKar, *lblDaekTraekstyrkeKarEnhed, *lblDaekEo, *lblDaekEoEnhed, *lblDaekEn, *lblDaekEnEnhed,
        *lblDaekGo, *lblDaekGoEnhed, *lblDaekGn, *lblDaekGnEnhed, *lblMKlasse, *lblDaeklag, *lblDaeklagEnhed,
        *lblRevnevidde, *lblRevneviddeEnhed;
    QComboBox *cmbDaekType, *cmbDaekSikkerhedsklasse, *cmbDaekKvalitet, *cmbMKlasse;
    QLineEdit *txtDaekTykkelse, *txtDaekTrykstyrke, *txtDaekTraekstyrke, *txtDaekTraekstyrkeKar, *txtDaekEo, *txtDaekEn,
        *txtDaekGo, *txtDaekGn, *txtDaekTau, *txtDaeklag, *txtRevnevidde;
    ui::DataSource *dataInddata;

    QGroupBox *frmIsolering;
    QLabel *lblIsoleringText, *lblIsoleringNr, *lblIsoleringType, *lblIsoleringTykkelse, *lblIsoleringTykkelseEnhed;
    QLineEdit *txtIsoleringNr, *txtIsoleringType, *txtIsoleringTykkelse, *txtIsolZo, *txtIsolZn, *txtIsolLambdaT,
        *txtIsolLambdaV, *txtIsolEo, *txtIsolEn;
    QComboBox *cmbIsoleringType;
    std::array<ui::CommandButton *, 2> btnMoveIsolering{};
    ui::DataSource *dataIsolering;

    QGroupBox *frmMellemlag;
    QLabel *lblMellemlagText, *lblMellemlagType, *lblMellemlagTykkelse, *lblMellemlagTykkelseEnhed;
    QComboBox *cmbMellemlagType;
    QLineEdit *txtMellemlagTykkelse, *txtMellemlagKorr, *txtMellemlagLambda;

    QGroupBox *frmTerraen;
    QLabel *lblTerraenText, *lblTerraenType, *lblTerraenBallast;
    std::array<QLabel *, 2> lblTerraenBallastEnhed{};
    QComboBox *cmbTerraenType;
    QLineEdit *txtTerraenBallast;

signals:
    // The window has closed for good; the program ends with it.
    void unloaded();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    // A key was pressed in a pick list; the next Click of a pick list only clears it.
    bool TastTrykket = false;
    // The recordsets of dataInddata and dataIsolering.
    ui::DataSource *rsInddata = nullptr;
    ui::DataSource *rsIsolering = nullptr;
    // The parameter tables, read-only, open while the window lives.
    engine::Recordset rsDaekType, rsSikkerhedsklasse, rsDaekLag, rsBetonKvalitet, rsIsoleringType, rsMellemlag,
        rsTerraen;
    // Raised around a page refresh that other code performs.
    std::int16_t Opdaterer = 0;
    // What the sketch showed when it was last drawn.
    sketch::SidsteTegning SidsteTegning;

    // The calculate command up to its results window: the whole-input check (which commits the pages first),
    // both analysis passes and the design. True when every step ran to its end.
    bool Beregning();

private:
    void BuildLayout();
    void BuildSketch();
    void BindPages();
    void WirePickLists();
    void WireNumericFields();
    void CommitVisiblePage();
    void LeaveStartPicture();
    void NewInput();
    void WireWizard();
    // Shows page 1 (loads), 2 (slab) or 3 (layers) alone, with the wizard buttons enabled as that page has them.
    void ShowPage(int page);
    // The type lists of the load and layer pages from the stored type of the current record.
    void ShowLoadType();
    void ShowLayerType();
    // The page, record and field of a failed whole-input check; the layer record moves only when lagnr is given.
    void ShowLoadFailure(const engine::Variant &lastid, QWidget *field);
    void ShowSlabFailure(QWidget *field);
    void ShowLayerFailure(const engine::Variant *lagnr, QWidget *field);

    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool activatedOnce_ = false;
};
