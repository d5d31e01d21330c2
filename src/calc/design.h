#pragma once
// The design module: unreinforced capacity, reinforcement with crack width, insulation pressure and bending
// stresses, checked against the moments that the analysis (Module1) left behind. All state is module-level and
// of fixed size; arrays are indexed from 1 (steel type 1 to 2, diameter index 1 to 5) as the formulas count.
// FunctionName, LogNr and the remark list are shared with Module1.

#include <QString>

namespace Module2 {

constexpr int kStaalTyper = 2;
constexpr int kDiametre = 5;
// Bar diameter (mm) of each diameter index; 14 mm bars are not offered.
constexpr int kDiameter[kDiametre + 1] = {0, 6, 8, 10, 12, 16};
// 3.14159 stands for pi in the reinforcement formulas; the saved areas depend on it.
constexpr double kPi = 3.14159;

using Skema = double[kStaalTyper + 1][kDiametre + 1];

// Design input, read by Beregn2 from inddata and the two insulation-layer rows (units as used: m, kN/m², mm, MPa).
extern double t;                // slab thickness, m
extern double ftk;              // characteristic tensile strength, kN/m²
extern double c;                // concrete cover, mm
extern double fcd, ftd;         // design compressive and tensile strength, MPa
extern double wmax;             // allowed crack width, mm; 0 = no crack-width check
extern double k0, kn;           // resulting subgrade modulus short and long term, kN/m³
extern double Zigmao1, Zigman1; // allowed pressures of the upper layer, kN/m²
extern double h1;               // its thickness, m
extern double Zigmao2, Zigman2; // the same for the lower layer
extern double h2;

// Unreinforced capacity.
extern double kh;   // size factor
extern double fbt;  // design flexural tensile strength, kN/m²
extern double W;    // section modulus per metre width, m³/m
extern double Mkap; // design moment capacity of the unreinforced slab, kNm/m

// "Brud ! Pladen kan ikke holde" has been added, or a layout has been saved: the remark is not added again.
extern bool BrudMeldt;
// Some combination of the bottom design reached a spacing other than 0.
extern bool ArmeringFundet;

// Working values of the combination being designed.
extern int StaalType;
extern double fyd, AsMin, deff, my, omega, sigmas, w;
extern Skema AsReq, As, a;
// Saved layouts: area (mm²/m) and spacing (mm) for the bottom (U) and the top (O) side.
extern Skema AsU, aU, AsO, aO;

// Insulation pressure (kN/m²) and the subgrade modulus it used; bending stresses of other slab types (MPa).
extern double IsoTilladt, IsoFaktisk, IsoTilladt2, IsoFaktisk2;
extern double k;
extern double SpaendTraek, SpaendTryk;

// Driver: 0 when the design ran to its end, 2 after its own error message.
int Beregn2();

// Runs the ten combinations of one side ("u" bottom, "o" top) for the characteristic and the design moment.
void BeregnArmeringsSkema(double Mkar, double Mdim, const QString &side);
void BeregnArmering(int s, int d, int kIdx, double Mkar, double Mdim, const QString &side, double omegaBal);
void ForbMaxRevne(int s, int d, int kIdx, double Mkar);
void GemData(int s, int d, int kIdx, const QString &side);
void GemData300(int s, int d, int kIdx, const QString &side);

void Isoleringstryk();
void DaekSpend();

// Completes the result row and writes the reinforcement and remark rows.
void StoreDB2();

// The database-free parts of Beregn2, for tests and benchmarks: the reset of its step 2, and every check from
// the capacity to the insulation pressure on the input and analysis results already in place.
void resetState();
void designPass();

} // namespace Module2
