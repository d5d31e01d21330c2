-- isol.mdb: the insulation products, read sorted by "RkFlg". Allowed pressures short/long term (kN/m²),
-- conductivity dry/wet (W/mK), moduli long/short term (kN/m²).
CREATE TABLE "txtIsolering" (
    "RkFlg" INTEGER,
    "Type" TEXT DEFAULT '',
    "MaxLastKort" DOUBLE,
    "MaxLastLang" DOUBLE,
    "LambdaTør" DOUBLE,
    "LambdaVåd" DOUBLE,
    "Elang" DOUBLE,
    "Ekort" DOUBLE
);
INSERT INTO "txtIsolering" VALUES (1, 'EPS 80', 40, 24, 0.038, 0.046, 1200, 3200);
INSERT INTO "txtIsolering" VALUES (2, 'EPS 100', 50, 30, 0.037, 0.045, 1500, 4000);
INSERT INTO "txtIsolering" VALUES (3, 'EPS 150', 75, 45, 0.036, 0.044, 2250, 6000);
INSERT INTO "txtIsolering" VALUES (4, 'EPS 200', 100, 60, 0.035, 0.042, 3000, 8000);
INSERT INTO "txtIsolering" VALUES (5, 'EPS 250', 125, 75, 0.035, 0.042, 3750, 10000);
INSERT INTO "txtIsolering" VALUES (6, 'XPS 300', 150, 130, 0.034, 0.041, 6500, 15000);
INSERT INTO "txtIsolering" VALUES (7, 'XPS 500', 250, 150, 0.034, 0.041, 7500, 20000);
INSERT INTO "txtIsolering" VALUES (8, 'XPS 700', 350, 200, 0.034, 0.041, 10000, 25000);
