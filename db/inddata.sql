-- inddata.mdb: the current input, the company record, the results of the last calculation and the print row.
--
-- The input tables carry no auto-increment column: project files list every column of them, and a block of a
-- project file may name only some columns, so each column has the value of the default input as its default.
-- They hold text and number columns only, and accept Null (a project file can carry #NULL#).

CREATE TABLE "inddata" (
    "InddataID" INTEGER DEFAULT 1,
    "daekType" TEXT DEFAULT '',
    "sikkerhedsklassetext" TEXT DEFAULT '',
    "kvalitettext" TEXT DEFAULT '',
    "TrykstyrkeRgm" DOUBLE DEFAULT 0,
    "tau" DOUBLE DEFAULT 0,
    "TraekstyrkeRgm" DOUBLE DEFAULT 0,
    "TraekstyrkeKar" DOUBLE DEFAULT 0,
    "Eo" DOUBLE DEFAULT 0,
    "En" DOUBLE DEFAULT 0,
    "Go" DOUBLE DEFAULT 0,
    "GN" DOUBLE DEFAULT 0,
    "dæktykkelse" DOUBLE DEFAULT 0,
    "Miljøklasse" TEXT DEFAULT '',
    "dæklag" DOUBLE DEFAULT 0,
    "Revnevidde" DOUBLE DEFAULT 0,
    "mellemlag" TEXT DEFAULT '',
    "mellemlagtykkelse" DOUBLE DEFAULT 0,
    "mellemlagkorr" DOUBLE DEFAULT 0,
    "mellemlaglambda" DOUBLE DEFAULT 0,
    "terræn" TEXT DEFAULT '',
    "terrænballast" DOUBLE DEFAULT 0,
    "terrænzigma" DOUBLE DEFAULT 0,
    "isolballasto" DOUBLE DEFAULT 0,
    "isolballastn" DOUBLE DEFAULT 0,
    "resBallasto" DOUBLE DEFAULT 0,
    "resBallastn" DOUBLE DEFAULT 0,
    "Uværdi" DOUBLE DEFAULT 0
);

-- A load without its number gets 0, which no load of the default input has.
CREATE TABLE "inddatalast" (
    "InddataID" INTEGER DEFAULT 1,
    "lastid" INTEGER DEFAULT 0,
    "Lasttype" TEXT DEFAULT '',
    "Afstand" DOUBLE DEFAULT 0,
    "LastForm" TEXT DEFAULT '',
    "bredde" DOUBLE DEFAULT 0,
    "længde" DOUBLE DEFAULT 0,
    "Placering" TEXT DEFAULT '',
    "Afstandfra" DOUBLE DEFAULT 0,
    "Størrelse" DOUBLE DEFAULT 0,
    "PartialK" DOUBLE DEFAULT 1
);

CREATE TABLE "inddataisolering" (
    "InddataID" INTEGER DEFAULT 1,
    "lagnr" INTEGER DEFAULT 0,
    "IsoleringType" TEXT DEFAULT '',
    "IsoleringTykkelse" DOUBLE DEFAULT 0,
    "Zigmao" DOUBLE DEFAULT 0,
    "Zigman" DOUBLE DEFAULT 0,
    "LambdaTør" DOUBLE DEFAULT 0,
    "LambdaVåd" DOUBLE DEFAULT 0,
    "Eo" DOUBLE DEFAULT 1,
    "En" DOUBLE DEFAULT 1
);

-- Project and company texts are typed freely in the master-data dialog; the column width is the limit.
CREATE TABLE "projekt" (
    "projektid" VARCHAR(255) DEFAULT '' CHECK (length("projektid") <= 255),
    "beregner" VARCHAR(255) DEFAULT '' CHECK (length("beregner") <= 255),
    "dato" VARCHAR(255) DEFAULT '' CHECK (length("dato") <= 255),
    "tekst" VARCHAR(255) DEFAULT '' CHECK (length("tekst") <= 255)
);

CREATE TABLE "Firma" (
    "Navn" VARCHAR(255) DEFAULT '' CHECK (length("Navn") <= 255),
    "Adresse" VARCHAR(255) DEFAULT '' CHECK (length("Adresse") <= 255),
    "Postnr" VARCHAR(255) DEFAULT '' CHECK (length("Postnr") <= 255),
    "By" VARCHAR(255) DEFAULT '' CHECK (length("By") <= 255),
    "Tlf" VARCHAR(255) DEFAULT '' CHECK (length("Tlf") <= 255),
    "Fax" VARCHAR(255) DEFAULT '' CHECK (length("Fax") <= 255),
    "DirekteTlf" VARCHAR(255) DEFAULT '' CHECK (length("DirekteTlf") <= 255),
    "Kontakt" VARCHAR(255) DEFAULT '' CHECK (length("Kontakt") <= 255),
    "e-mail" VARCHAR(255) DEFAULT '' CHECK (length("e-mail") <= 255)
);

-- The program never adds the company row: the installation delivers it.
INSERT INTO "Firma" DEFAULT VALUES;

-- Result tables: emptied and refilled by every calculation. Rows are read in the order they were written, so
-- no key column is needed. A number nobody has written yet stays Null.
CREATE TABLE "ResultatBeton" (
    "KarakteristiskMaxPos" DOUBLE,
    "KarakteristiskMaxNeg" DOUBLE,
    "Deformation" DOUBLE,
    "Uværdi" DOUBLE,
    "RetningsmMaxPos" DOUBLE,
    "RetningsmMaxNeg" DOUBLE,
    "RetningsmKapUarm" DOUBLE,
    "IsoFaktisk" DOUBLE,
    "IsoTilladt" DOUBLE,
    "IsoFaktisk2" DOUBLE,
    "IsoTilladt2" DOUBLE,
    "Oplysning1" TEXT DEFAULT '',
    "Oplysning2" TEXT DEFAULT '',
    "Oplysning3" TEXT DEFAULT '',
    "Oplysning4" TEXT DEFAULT '',
    "Oplysning5" TEXT DEFAULT ''
);

CREATE TABLE "ResultatBrugdef" (
    "KarakteristiskMax" DOUBLE,
    "KarakteristiskMin" DOUBLE,
    "RetningsmSpaendTraekTil" DOUBLE,
    "RetningsmSpaendTrykTil" DOUBLE,
    "Deformation" DOUBLE,
    "Uværdi" DOUBLE,
    "RetningsmMax" DOUBLE,
    "RetningsmMin" DOUBLE,
    "IsoFaktisk" DOUBLE,
    "IsoTilladt" DOUBLE,
    "IsoFaktisk2" DOUBLE,
    "IsoTilladt2" DOUBLE,
    "RetningsmSpaendTraekFak" DOUBLE,
    "RetningsmSpaendTrykFak" DOUBLE,
    "Oplysning1" TEXT DEFAULT '',
    "Oplysning2" TEXT DEFAULT '',
    "Oplysning3" TEXT DEFAULT '',
    "Oplysning4" TEXT DEFAULT '',
    "Oplysning5" TEXT DEFAULT ''
);

-- Readers pick a row by steel type, diameter and side, never by position.
CREATE TABLE "ResultatArmering" (
    "Diameter" SMALLINT,
    "StaalType" SMALLINT,
    "Overside" BIT,
    "As" DOUBLE,
    "a" DOUBLE
);

CREATE TABLE "ResultatOplysning" (
    "Oplysning" TEXT DEFAULT ''
);

-- The print row: the two insulation layers side by side, then steel area and spacing per diameter, side
-- and steel type, in the order the print preparation fills them.
CREATE TABLE "Udskrift" (
    "Lagnr1" INTEGER DEFAULT 0,
    "IsoleringType1" TEXT DEFAULT '',
    "Eo1" DOUBLE DEFAULT 0,
    "En1" DOUBLE DEFAULT 0,
    "IsoleringTykkelse1" DOUBLE DEFAULT 0,
    "Zigmao1" DOUBLE DEFAULT 0,
    "Zigman1" DOUBLE DEFAULT 0,
    "LambdaTør1" DOUBLE DEFAULT 0,
    "LambdaVåd1" DOUBLE DEFAULT 0,
    "Lagnr2" INTEGER DEFAULT 0,
    "IsoleringType2" TEXT DEFAULT '',
    "Eo2" DOUBLE DEFAULT 0,
    "En2" DOUBLE DEFAULT 0,
    "IsoleringTykkelse2" DOUBLE DEFAULT 0,
    "Zigmao2" DOUBLE DEFAULT 0,
    "Zigman2" DOUBLE DEFAULT 0,
    "LambdaTør2" DOUBLE DEFAULT 0,
    "LambdaVåd2" DOUBLE DEFAULT 0,
    "6Over1as" DOUBLE DEFAULT 0,
    "6Over1a" DOUBLE DEFAULT 0,
    "6Over2as" DOUBLE DEFAULT 0,
    "6Over2a" DOUBLE DEFAULT 0,
    "6Under1as" DOUBLE DEFAULT 0,
    "6Under1a" DOUBLE DEFAULT 0,
    "6Under2as" DOUBLE DEFAULT 0,
    "6Under2a" DOUBLE DEFAULT 0,
    "8Over1as" DOUBLE DEFAULT 0,
    "8Over1a" DOUBLE DEFAULT 0,
    "8Over2as" DOUBLE DEFAULT 0,
    "8Over2a" DOUBLE DEFAULT 0,
    "8Under1as" DOUBLE DEFAULT 0,
    "8Under1a" DOUBLE DEFAULT 0,
    "8Under2as" DOUBLE DEFAULT 0,
    "8Under2a" DOUBLE DEFAULT 0,
    "10Over1as" DOUBLE DEFAULT 0,
    "10Over1a" DOUBLE DEFAULT 0,
    "10Over2as" DOUBLE DEFAULT 0,
    "10Over2a" DOUBLE DEFAULT 0,
    "10Under1as" DOUBLE DEFAULT 0,
    "10Under1a" DOUBLE DEFAULT 0,
    "10Under2as" DOUBLE DEFAULT 0,
    "10Under2a" DOUBLE DEFAULT 0,
    "12Over1as" DOUBLE DEFAULT 0,
    "12Over1a" DOUBLE DEFAULT 0,
    "12Over2as" DOUBLE DEFAULT 0,
    "12Over2a" DOUBLE DEFAULT 0,
    "12Under1as" DOUBLE DEFAULT 0,
    "12Under1a" DOUBLE DEFAULT 0,
    "12Under2as" DOUBLE DEFAULT 0,
    "12Under2a" DOUBLE DEFAULT 0,
    "16Over1as" DOUBLE DEFAULT 0,
    "16Over1a" DOUBLE DEFAULT 0,
    "16Over2as" DOUBLE DEFAULT 0,
    "16Over2a" DOUBLE DEFAULT 0,
    "16Under1as" DOUBLE DEFAULT 0,
    "16Under1a" DOUBLE DEFAULT 0,
    "16Under2as" DOUBLE DEFAULT 0,
    "16Under2a" DOUBLE DEFAULT 0
);

-- The program only ever overwrites this row; it never adds one.
INSERT INTO "Udskrift" DEFAULT VALUES;
