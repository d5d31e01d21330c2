// The page procedures of the main window. The load, slab and layer pages bring their fields in line here;
// until they do, a choice changes only the pick list and the bound boxes.

#include "ui/data_source.h"
#include "ui/frm_main.h"

void frmMain::OpdaterDaekType() {}
void frmMain::OpdaterMiljoeklasse() {}
void frmMain::OpdaterSikkerhedsklasse() {}
void frmMain::OpdaterBetonKvalitet() {}
void frmMain::OpdaterIsolering() {}
void frmMain::OpdaterMellemlag() {}
void frmMain::OpdaterTerraen() {}
void frmMain::VisLast(ui::DataSource &) {}
void frmMain::OpdaterLastForm() {}
void frmMain::OpdaterLastPlacering() {}
void frmMain::FormaterLast(const engine::Recordset &) {}
void frmMain::FormaterDaek() {}
void frmMain::FormaterIsolering() {}
