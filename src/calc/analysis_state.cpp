#include "calc/analysis_state.h"

namespace Module1 {

int AntalElementer = kElementer;
int AntalXElementer = kXElementer;
int AntalFrihedsgrader = kFrihedsgrader;
int Baandbredde = kBaandbredde;
double dx = 6.0 / 9.0;
double dy = 6.0 / 9.0;

double Eo = 0, En = 0, Go = 0, Gn = 0;
double resBallasto = 0, resBallastn = 0;
double t = 0;
double tau = 0;
bool ErBeton = false;

LastRecord Laster;

int Topo[6 + 1][kElementer + 1] = {};
double KeX[6 + 1][6 + 1] = {};
double KeY[6 + 1][6 + 1] = {};
double Kband[kFrihedsgrader + 1][kBaandbredde + 1] = {};
double FKort[kFrihedsgrader + 1] = {};
double FLang[kFrihedsgrader + 1] = {};
double Saetning = 0;
double uKort[kFrihedsgrader + 1] = {};
double uLang[kFrihedsgrader + 1] = {};
double Msnit[kElementer + 1][2 + 1] = {};
bool KortLast = false, LangLast = false;

double Mmax = 0, Mmin = 0, umax = 0;
double MmaxDim = 0, MminDim = 0, umaxDim = 0;

QString Oplysninger[kMaxOplysninger + 1];
int AntalOplysninger = 0;

bool Dimensionering = false;

QString FunctionName;
int LogNr = 0;

} // namespace Module1
