-- param.mdb: the read-only parameter tables. The program reads each one sorted by "RkFlg"; the first column after
-- it is the key that the pick lists show and the look-ups match exactly.

-- Boards other than concrete: design strengths (MPa), moduli short/long term (MPa), thickness (mm).
CREATE TABLE "txtDaekType" (
    "RkFlg" INTEGER,
    "daekType" TEXT DEFAULT '',
    "traekstyrke" DOUBLE,
    "trykstyrke" DOUBLE,
    "Eo" DOUBLE,
    "En" DOUBLE,
    "Go" DOUBLE,
    "GN" DOUBLE,
    "tykkelse" DOUBLE
);
INSERT INTO "txtDaekType" VALUES (1, 'Spånplade P5, 22 mm', 5.85, 5.85, 3000, 923, 860, 265, 22);
INSERT INTO "txtDaekType" VALUES (2, 'Spånplade P6, 22 mm', 7.16, 7.16, 3500, 1400, 1050, 420, 22);
INSERT INTO "txtDaekType" VALUES (3, 'Spånplade P7, 22 mm', 8.29, 8.29, 4000, 1600, 1150, 460, 22);
INSERT INTO "txtDaekType" VALUES (4, 'OSB/3, 22 mm', 3.98, 3.98, 3120, 1248, 1080, 432, 22);
INSERT INTO "txtDaekType" VALUES (5, 'Krydsfiner, nåletræ, 21 mm', 6.15, 6.15, 2830, 1572, 500, 278, 21);
INSERT INTO "txtDaekType" VALUES (6, 'Gipsfiberplade, 2 x 12,5 mm', 1.85, 1.85, 3800, 950, 1600, 400, 25);

-- Safety class factor on the concrete strength.
CREATE TABLE "txtSikkerhedsKlasse" (
    "RkFlg" INTEGER,
    "Klasse" TEXT DEFAULT '',
    "gamma" DOUBLE
);
INSERT INTO "txtSikkerhedsKlasse" VALUES (1, 'Lav', 0.9);
INSERT INTO "txtSikkerhedsKlasse" VALUES (2, 'Normal', 1.0);
INSERT INTO "txtSikkerhedsKlasse" VALUES (3, 'Høj', 1.1);

-- Characteristic cylinder strength (MPa) per concrete class.
CREATE TABLE "txtBetonKvalitet" (
    "RkFlg" INTEGER,
    "kvalitet" TEXT DEFAULT '',
    "Styrke" DOUBLE
);
INSERT INTO "txtBetonKvalitet" VALUES (1, 'C12/15', 12);
INSERT INTO "txtBetonKvalitet" VALUES (2, 'C16/20', 16);
INSERT INTO "txtBetonKvalitet" VALUES (3, 'C20/25', 20);
INSERT INTO "txtBetonKvalitet" VALUES (4, 'C25/30', 25);
INSERT INTO "txtBetonKvalitet" VALUES (5, 'C30/37', 30);
INSERT INTO "txtBetonKvalitet" VALUES (6, 'C35/45', 35);
INSERT INTO "txtBetonKvalitet" VALUES (7, 'C40/50', 40);
INSERT INTO "txtBetonKvalitet" VALUES (8, 'C45/55', 45);

-- Cover (mm) and allowed crack width (mm, 0 = no crack-width check) per environmental class.
CREATE TABLE "txtDaekLag" (
    "RkFlg" INTEGER,
    "Miljøklasse" TEXT DEFAULT '',
    "tykkelse" DOUBLE,
    "Wmax" DOUBLE
);
INSERT INTO "txtDaekLag" VALUES (1, 'Passiv', 15, 0);
INSERT INTO "txtDaekLag" VALUES (2, 'Moderat', 25, 0.3);
INSERT INTO "txtDaekLag" VALUES (3, 'Aggressiv', 35, 0.2);
INSERT INTO "txtDaekLag" VALUES (4, 'Ekstra aggressiv', 45, 0.2);

-- Correction factor on the terrain's subgrade modulus and thermal conductivity (W/mK).
CREATE TABLE "txtMellemlag" (
    "RkFlg" INTEGER,
    "Type" TEXT DEFAULT '',
    "Korrektionsfaktor" DOUBLE,
    "Varmeledningstal" DOUBLE
);
INSERT INTO "txtMellemlag" VALUES (1, 'Singels 4-8 mm', 1.1, 2.0);
INSERT INTO "txtMellemlag" VALUES (2, 'Skærver 16-32 mm', 1.2, 2.0);
INSERT INTO "txtMellemlag" VALUES (3, 'Stabilgrus', 1.3, 2.0);
INSERT INTO "txtMellemlag" VALUES (4, 'Letklinker 10-20 mm', 1.0, 0.12);

-- Subgrade modulus (kN/m³) per terrain.
CREATE TABLE "txtTerræn" (
    "RkFlg" INTEGER,
    "Type" TEXT DEFAULT '',
    "ballasttal" DOUBLE
);
INSERT INTO "txtTerræn" VALUES (1, 'Moræneler', 30000);
INSERT INTO "txtTerræn" VALUES (2, 'Morænesand', 40000);
INSERT INTO "txtTerræn" VALUES (3, 'Ler, fedt', 15000);
INSERT INTO "txtTerræn" VALUES (4, 'Sand, løst lejret', 15000);
INSERT INTO "txtTerræn" VALUES (5, 'Sand, middelfast lejret', 35000);
INSERT INTO "txtTerræn" VALUES (6, 'Sand, fast lejret', 50000);
INSERT INTO "txtTerræn" VALUES (7, 'Fyldsand, komprimeret', 40000);
INSERT INTO "txtTerræn" VALUES (8, 'Grus, velgraderet', 80000);
