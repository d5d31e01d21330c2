#pragma once
// The analysis module's state: one slab field of 6.0 m by 6.0 m as a 9 x 9 grillage on an elastic foundation.
// Everything is module-level and of fixed size, so a pass allocates nothing. Arrays are indexed from 1 as the
// formulas count (element [0] is unused), which keeps the loops readable against the derivation.
// The design module (Module2) reads the loads, the results and the remark list, and shares FunctionName/LogNr.

#include <QString>

namespace Module1 {

// Grid sizes, fixed by the mesh.
constexpr int kElementer = 144;     // beams: 72 along x, then 72 along y
constexpr int kXElementer = 72;     // elements along x are 1 to 72
constexpr int kFrihedsgrader = 243; // 81 nodes times 3
constexpr int kBaandbredde = 30;    // stored half band, diagonal included
constexpr int kMaxLaster = 10;      // inddatalast holds ten rows
constexpr int kMaxOplysninger = 10; // remarks per calculation

// The loads as read from the input (slots 1 to AntalLaster).
struct LastRecord {
    int AntalLaster = 0;
    QString Kode[kMaxLaster + 1];             // "H", "S", "F", "V" or "L"
    QString FormBogstav[kMaxLaster + 1];      // "R", "K", "C" or "L"
    QString PlaceringBogstav[kMaxLaster + 1]; // "K", "F" or "M"
    double Stoerrelse[kMaxLaster + 1] = {};   // kN, kN/m or kN/m²; joint-reduced in place
    double Bredde[kMaxLaster + 1] = {};       // m
    double Laengde[kMaxLaster + 1] = {};      // m
    double AfstandFra[kMaxLaster + 1] = {};   // m from the edge or joint
    double Afstand[kMaxLaster + 1] = {};      // m between the loads of a pair
    double PartialK[kMaxLaster + 1] = {};
};

// Sizes and mesh (set by init).
extern int AntalElementer;
extern int AntalXElementer;
extern int AntalFrihedsgrader;
extern int Baandbredde;
extern double dx, dy;

// Slab input (set by Laesdata), kN and m.
extern double Eo, En, Go, Gn;
extern double resBallasto, resBallastn;
extern double t;
extern double tau;
extern bool ErBeton;

extern LastRecord Laster;

// Analysis arrays.
extern int Topo[6 + 1][kElementer + 1];
extern double KeX[6 + 1][6 + 1];
extern double KeY[6 + 1][6 + 1];
extern double Kband[kFrihedsgrader + 1][kBaandbredde + 1];
extern double FKort[kFrihedsgrader + 1];
extern double FLang[kFrihedsgrader + 1];
extern double Saetning;
extern double uKort[kFrihedsgrader + 1];
extern double uLang[kFrihedsgrader + 1];
extern double Msnit[kElementer + 1][2 + 1];
extern bool KortLast, LangLast;

// Results of the current pass, and those kept from the design pass.
extern double Mmax, Mmin, umax;
extern double MmaxDim, MminDim, umaxDim;

// Remark list of the calculation.
extern QString Oplysninger[kMaxOplysninger + 1];
extern int AntalOplysninger;

extern bool Dimensionering;

// Name and statement number of the running analysis or design procedure, for the drivers' error messages.
extern QString FunctionName;
extern int LogNr;

using BandMatrix = double[kFrihedsgrader + 1][kBaandbredde + 1];
using DofVector = double[kFrihedsgrader + 1];
using ElementMatrix = double[6 + 1][6 + 1];

// Driver: one pass (true = design pass, loads times their partial coefficients). 0, or 1 after its message.
int Beregn1(bool dimensionering);

// Resets the module and empties the four result tables.
void init();
// Reads inddata and inddatalast through modMain::cnInddata.
void Laesdata();
// Appends one remark; an eleventh is dropped.
void saveopl(const QString &tekst);

void Topologi();
void Stivhedsmatrix(double k, double E, double G, BandMatrix &Kband, ElementMatrix &KeX, ElementMatrix &KeY);

void Hoejreside(LastRecord &Laster);
// P and q may be reduced in place for a load at a joint ("F").
void Punktlast(const QString &Varighed, double &P, const QString &Placering, double y, double x, double t);
void Linielast(const QString &Varighed, double &q, const QString &Placering, double y, double t);
void Fladelast(double k, double q, double &Saetning);

// Solves A u = F with A's lower band in Kband (n rows, half band m with the diagonal); Kband is factorised in place.
void Solver(int n, int m, BandMatrix &Kband, const DofVector &F, DofVector &u);

void Snitkraft(const ElementMatrix &KeX, const ElementMatrix &KeY, const DofVector &u);
void FindMaxM();
void FindMaxu();
void Gennemlokning(LastRecord &Laster);

// Writes the result row of the characteristic pass.
void StoreDB1();

// The database-free parts of a pass, for tests and benchmarks: init's reset without the table commands,
// and everything from Topologi to Gennemlokning on the loads already in Laster.
void resetState();
void analysePass();

} // namespace Module1
