-- The demo ERP database of one company (SQLite).
-- Conventions of the suite: code columns are a two-letter table suffix and a
-- three-digit number; dates are eight-character texts YYYYMMDD; every table
-- carries the audit columns COMPANY, CREATOR, USR_GROUP, CREATE_DATE,
-- MODIFIER, MODI_DATE and FLAG (a modification counter).

-- The key columns cannot be null, so the planner knows that the key index
-- gives each slip once: a scan of the headers in key order then delivers the
-- lines of each slip (joined by the line key) already in print order, and the
-- wide result rows are not sorted again. (A rowid table on purpose: made
-- WITHOUT ROWID, SQLite 3.40 plans the same query with a sort again.)
-- work-order change slips (header). TO001 slip type, TO002 number, TO003 version, TO004 change date, TO041 approval Y/N/V, TO042 print count, TO043 approval date, TO044 approver, TO053 send count; TOnnn is the value before the change, TO1nn after it. Dates are YYYYMMDD texts.
CREATE TABLE MOCTO (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    TO001 TEXT NOT NULL,
    TO002 TEXT NOT NULL,
    TO003 TEXT NOT NULL,
    TO004 TEXT,
    TO005 TEXT,
    TO006 TEXT,
    TO007 TEXT,
    TO008 TEXT,
    TO009 TEXT,
    TO010 TEXT,
    TO011 TEXT,
    TO012 TEXT,
    TO013 TEXT,
    TO014 TEXT,
    TO015 TEXT,
    TO016 TEXT,
    TO017 TEXT,
    TO018 TEXT,
    TO019 TEXT,
    TO020 TEXT,
    TO021 TEXT,
    TO022 TEXT,
    TO023 TEXT,
    TO024 REAL,
    TO025 REAL,
    TO026 TEXT,
    TO027 TEXT,
    TO028 TEXT,
    TO029 TEXT,
    TO030 TEXT,
    TO031 TEXT,
    TO032 TEXT,
    TO033 TEXT,
    TO034 TEXT,
    TO035 REAL,
    TO036 REAL,
    TO037 TEXT,
    TO038 TEXT,
    TO039 TEXT,
    TO040 TEXT,
    TO041 TEXT,
    TO042 INTEGER,
    TO043 TEXT,
    TO044 TEXT,
    TO045 REAL,
    TO046 REAL,
    TO047 REAL,
    TO048 REAL,
    TO049 REAL,
    TO050 REAL,
    TO051 TEXT,
    TO052 TEXT,
    TO053 INTEGER,
    TO054 TEXT,
    TO055 TEXT,
    TO056 TEXT,
    TO057 REAL,
    TO058 REAL,
    TO059 REAL,
    TO060 REAL,
    TO061 TEXT,
    TO062 TEXT,
    TO063 TEXT,
    TO064 TEXT,
    TO065 TEXT,
    TO066 TEXT,
    TO067 TEXT,
    TO068 TEXT,
    TO069 TEXT,
    TO070 REAL,
    TO071 TEXT,
    TO072 TEXT,
    TO086 TEXT,
    TO105 TEXT,
    TO106 TEXT,
    TO107 TEXT,
    TO108 TEXT,
    TO109 TEXT,
    TO110 TEXT,
    TO111 TEXT,
    TO112 TEXT,
    TO113 TEXT,
    TO114 TEXT,
    TO115 TEXT,
    TO116 TEXT,
    TO117 TEXT,
    TO118 TEXT,
    TO119 TEXT,
    TO120 TEXT,
    TO121 TEXT,
    TO122 TEXT,
    TO123 TEXT,
    TO124 REAL,
    TO125 REAL,
    TO126 TEXT,
    TO127 TEXT,
    TO128 TEXT,
    TO129 TEXT,
    TO130 TEXT,
    TO131 TEXT,
    TO132 TEXT,
    TO133 TEXT,
    TO134 TEXT,
    TO135 REAL,
    TO136 REAL,
    TO137 TEXT,
    TO138 TEXT,
    TO139 TEXT,
    TO140 TEXT,
    TO145 REAL,
    TO146 REAL,
    TO147 REAL,
    TO148 REAL,
    TO149 REAL,
    TO150 REAL,
    TO151 TEXT,
    TO152 TEXT,
    TO154 TEXT,
    TO155 TEXT,
    TO156 TEXT,
    TO157 REAL,
    TO158 REAL,
    TO159 REAL,
    TO160 REAL,
    TO161 TEXT,
    TO162 TEXT,
    TO163 TEXT,
    TO164 TEXT,
    TO165 TEXT,
    TO166 TEXT,
    TO167 TEXT,
    TO168 TEXT,
    TO169 TEXT,
    TO170 REAL,
    TO171 TEXT,
    TO172 TEXT,
    TO186 TEXT,
    TOC01 TEXT,
    TOC02 TEXT,
    UDF01 TEXT,
    UDF02 TEXT,
    UDF03 TEXT,
    UDF04 TEXT,
    UDF05 TEXT,
    UDF06 TEXT,
    UDF51 REAL,
    UDF52 REAL,
    UDF53 REAL,
    UDF54 REAL,
    UDF55 REAL,
    UDF56 REAL,
    PRIMARY KEY (TO001, TO002, TO003)
);
CREATE INDEX MOCTO_DATE ON MOCTO (TO004);
CREATE INDEX MOCTO_TYPE_DATE ON MOCTO (TO001, TO004);
CREATE INDEX MOCTO_APPROVED ON MOCTO (TO043);
-- the key condition of print counts: TO001+'-'+TO002+'-'+TO003='...'
CREATE INDEX MOCTO_KEYTEXT ON MOCTO (TO001 || '-' || TO002 || '-' || TO003);

-- work-order change slip lines, kept in the order the slips print them (type, number, version, item). TP019 line number; TP004 item before the change ('********************' when the line adds an item), TP104 item after it (empty when removed).
CREATE TABLE MOCTP (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    TP001 TEXT,
    TP002 TEXT,
    TP003 TEXT,
    TP004 TEXT,
    TP005 TEXT,
    TP006 TEXT,
    TP007 TEXT,
    TP008 REAL,
    TP009 REAL,
    TP010 TEXT,
    TP011 TEXT,
    TP012 TEXT,
    TP013 REAL,
    TP014 TEXT,
    TP015 REAL,
    TP016 TEXT,
    TP017 TEXT,
    TP018 TEXT,
    TP020 REAL,
    TP021 REAL,
    TP022 REAL,
    TP023 TEXT,
    TP024 TEXT,
    TP025 TEXT,
    TP026 REAL,
    TP027 TEXT,
    TP028 TEXT,
    TP029 TEXT,
    TP030 REAL,
    TP031 TEXT,
    TP032 TEXT,
    TP019 TEXT,
    TP104 TEXT,
    TP105 TEXT,
    TP106 TEXT,
    TP107 TEXT,
    TP108 REAL,
    TP109 REAL,
    TP110 TEXT,
    TP111 TEXT,
    TP112 TEXT,
    TP113 REAL,
    TP114 TEXT,
    TP115 REAL,
    TP116 TEXT,
    TP117 TEXT,
    TP118 TEXT,
    TP120 REAL,
    TP121 REAL,
    TP122 REAL,
    TP123 TEXT,
    TP124 TEXT,
    TP125 TEXT,
    TP126 REAL,
    TP127 TEXT,
    TP128 TEXT,
    TP129 TEXT,
    TP130 REAL,
    TP131 TEXT,
    TP132 TEXT,
    TPC01 TEXT,
    TPC02 TEXT,
    UDF01 TEXT,
    UDF02 TEXT,
    UDF03 TEXT,
    UDF04 TEXT,
    UDF05 TEXT,
    UDF06 TEXT,
    UDF51 REAL,
    UDF52 REAL,
    UDF53 REAL,
    UDF54 REAL,
    UDF55 REAL,
    UDF56 REAL,
    PRIMARY KEY (TP001, TP002, TP003, TP004, TP019)
) WITHOUT ROWID;
CREATE INDEX MOCTP_ITEM ON MOCTP (TP104);

-- slip types: MQ001 type, MQ002 name, MQ003 document kind, MQ004/MQ005 footer code and editable, MQ006/MQ007 sign-off code and editable, MQ008/MQ009 footer/sign-off on every page, MQ010 format name, MQ011 format changeable, MQ012 extra, MQ013 totals on every page ('N' = no), MQ014 workflow form key
CREATE TABLE CMSMQ (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MQ001 TEXT,
    MQ002 TEXT,
    MQ003 TEXT,
    MQ004 TEXT,
    MQ005 TEXT,
    MQ006 TEXT,
    MQ007 TEXT,
    MQ008 TEXT,
    MQ009 TEXT,
    MQ010 TEXT,
    MQ011 TEXT,
    MQ012 TEXT,
    MQ013 TEXT,
    MQ014 TEXT,
    PRIMARY KEY (MQ001)
) WITHOUT ROWID;
CREATE INDEX CMSMQ_KIND ON CMSMQ (MQ003);

-- factories
CREATE TABLE CMSMB (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MB001 TEXT,
    MB002 TEXT,
    MB003 TEXT,
    PRIMARY KEY (MB001)
) WITHOUT ROWID;

-- warehouses
CREATE TABLE CMSMC (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MC001 TEXT,
    MC002 TEXT,
    MC003 TEXT,
    PRIMARY KEY (MC001)
) WITHOUT ROWID;

-- work centres
CREATE TABLE CMSMD (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MD001 TEXT,
    MD002 TEXT,
    MD003 TEXT,
    PRIMARY KEY (MD001)
) WITHOUT ROWID;

-- processes
CREATE TABLE CMSMW (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MW001 TEXT,
    MW002 TEXT,
    MW003 TEXT,
    PRIMARY KEY (MW001)
) WITHOUT ROWID;

-- packing and payment names: NA001 kind, NA002 code, NA003 name
CREATE TABLE CMSNA (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    NA001 TEXT,
    NA002 TEXT,
    NA003 TEXT,
    PRIMARY KEY (NA001, NA002)
) WITHOUT ROWID;

-- suppliers: MA001 code, MA002 short name, MA003 full name, MA008 telephone, MA010 fax, MA011 e-mail, MA013 contact, MA014 address, MA015 post code, MA046 tax number
CREATE TABLE PURMA (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MA001 TEXT,
    MA002 TEXT,
    MA003 TEXT,
    MA008 TEXT,
    MA010 TEXT,
    MA011 TEXT,
    MA013 TEXT,
    MA014 TEXT,
    MA015 TEXT,
    MA046 TEXT,
    PRIMARY KEY (MA001)
) WITHOUT ROWID;

-- customers
CREATE TABLE COPMA (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MA001 TEXT,
    MA002 TEXT,
    MA003 TEXT,
    MA008 TEXT,
    MA010 TEXT,
    MA011 TEXT,
    PRIMARY KEY (MA001)
) WITHOUT ROWID;

-- customer orders: TC004 customer, TC012 customer order number
CREATE TABLE COPTC (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    TC001 TEXT,
    TC002 TEXT,
    TC003 TEXT,
    TC004 TEXT,
    TC012 TEXT,
    PRIMARY KEY (TC001, TC002)
) WITHOUT ROWID;

-- customer order lines: TD004 item, TD014 customer item number
CREATE TABLE COPTD (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    TD001 TEXT,
    TD002 TEXT,
    TD003 TEXT,
    TD004 TEXT,
    TD005 TEXT,
    TD014 TEXT,
    TD008 REAL,
    PRIMARY KEY (TD001, TD002, TD003)
) WITHOUT ROWID;

-- customer items: MG001 customer, MG002 item, MG003 customer item number, MG005 name, MG006 size and model (规格)
CREATE TABLE COPMG (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MG001 TEXT,
    MG002 TEXT,
    MG003 TEXT,
    MG005 TEXT,
    MG006 TEXT,
    PRIMARY KEY (MG001, MG002, MG003)
) WITHOUT ROWID;

-- items
CREATE TABLE INVMB (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MB001 TEXT,
    MB002 TEXT,
    MB003 TEXT,
    MB004 TEXT,
    PRIMARY KEY (MB001)
) WITHOUT ROWID;

-- users: MF001 code, MF002 name, MF004 group, MF005 'Y' for a super user, MF006 e-mail
CREATE TABLE ADMMF (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MF001 TEXT,
    MF002 TEXT,
    MF004 TEXT,
    MF005 TEXT,
    MF006 TEXT,
    PRIMARY KEY (MF001)
) WITHOUT ROWID;

-- program rights: MG001 user, MG002 program code, MG003 rights string (one 'Y' per right), MG004 price right 'Y'/'N'
CREATE TABLE ADMMG (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MG001 TEXT,
    MG002 TEXT,
    MG003 TEXT,
    MG004 TEXT,
    PRIMARY KEY (MG001, MG002)
);

-- data rights: MR001 user, MR002 program code ('*' for every program), MR003 table, MR004 condition (columns of other tables qualified with the table name, e.g. PURMA.MA001<>'S001')
CREATE TABLE ADMMR (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MR001 TEXT,
    MR002 TEXT,
    MR003 TEXT,
    MR004 TEXT,
    MR005 TEXT,
    PRIMARY KEY (MR001, MR002, MR003, MR005)
);

-- system parameters per company: SP001 company, SP002 name (Sys001, ...), SP003 value
CREATE TABLE ADMSP (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    SP001 TEXT,
    SP002 TEXT,
    SP003 TEXT,
    PRIMARY KEY (SP001, SP002)
);

-- companies: ML001 code, ML002 name, ML003 short name, ML004 address, ML005 telephone, ML006 fax, ML007 tax number, ML008 English name
CREATE TABLE CMSML (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    ML001 TEXT,
    ML002 TEXT,
    ML003 TEXT,
    ML004 TEXT,
    ML005 TEXT,
    ML006 TEXT,
    ML007 TEXT,
    ML008 TEXT,
    PRIMARY KEY (ML001)
);

-- program settings: MT001 program, MT002 name, MT003/MT004 footer code and editable, MT008/MT009 sign-off code and editable, MT014 default format name
CREATE TABLE CMSMT (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MT001 TEXT,
    MT002 TEXT,
    MT003 TEXT,
    MT004 TEXT,
    MT005 TEXT,
    MT006 TEXT,
    MT007 TEXT,
    MT008 TEXT,
    MT009 TEXT,
    MT010 TEXT,
    MT011 TEXT,
    MT012 TEXT,
    MT013 TEXT,
    MT014 TEXT,
    PRIMARY KEY (MT001)
);

-- footers (MS001 '1') and sign-off blocks (MS001 '2'): MS002 code, MS003-MS005 the three lines
CREATE TABLE CMSMS (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MS001 TEXT,
    MS002 TEXT,
    MS003 TEXT,
    MS004 TEXT,
    MS005 TEXT,
    PRIMARY KEY (MS001, MS002)
);

-- stored report formats: NT001 format class, NT002 format name, NT003 form text (lines joined by CR LF), NT004 size in kilobytes, NT005 option snapshot, NT006 the server session holding the edit lock; FLAG is the edit counter (1..999)
CREATE TABLE WARRANT (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    NT001 TEXT,
    NT002 TEXT,
    NT003 TEXT,
    NT004 INTEGER,
    NT005 TEXT,
    NT006 TEXT,
    PRIMARY KEY (NT001, NT002)
);

-- condition schemes per user and program
CREATE TABLE GENES (
    COMPANY TEXT,
    CREATOR TEXT NOT NULL,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    NCONDITION TEXT,
    PROGRAMME TEXT,
    SCONDITION TEXT,
    VCONDITION TEXT,
    PRIMARY KEY (NCONDITION, CREATOR, PROGRAMME)
);

-- send log: TA001 program, TA002 recipient key, TA003 'Y' sent / 'N' failed, TA004 text, TA005 time, TA006 date
CREATE TABLE ADMTA (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    TA001 TEXT,
    TA002 TEXT,
    TA003 TEXT,
    TA004 TEXT,
    TA005 TEXT,
    TA006 TEXT
);
CREATE INDEX ADMTA_PROGRAM ON ADMTA (TA001, TA006);

-- programs taking part in sign-off: MQ001 program, MQ002 workflow form key, MQ003 name
CREATE TABLE ADMMQ (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MQ001 TEXT,
    MQ002 TEXT,
    MQ003 TEXT,
    PRIMARY KEY (MQ001)
);
CREATE INDEX ADMMQ_KEY ON ADMMQ (MQ002);

-- workflow forms of the sign-off service: MC001 program, MC002 workflow form key, MC003 name
CREATE TABLE TWSMC (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MC001 TEXT,
    MC002 TEXT,
    MC003 TEXT,
    PRIMARY KEY (MC001)
);
CREATE INDEX TWSMC_KEY ON TWSMC (MC002);

-- sign-off records: MD001 form type, MD002 sheet number, MD003/MD004 parameters 3 and 4, MD005 serial, MD006 flow role, MD007 received, MD008 signed (YYYY/MM/DD hh:nn:ss), MD009 state, MD010/MD011 recipient id and name, MD012/MD013 signer id and name, MD014 department position, MD015 signer title, MD016 opinion, MD017 branch number
CREATE TABLE TWSMD (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MD001 TEXT,
    MD002 TEXT,
    MD003 TEXT,
    MD004 TEXT,
    MD005 INTEGER,
    MD006 TEXT,
    MD007 TEXT,
    MD008 TEXT,
    MD009 TEXT,
    MD010 TEXT,
    MD011 TEXT,
    MD012 TEXT,
    MD013 TEXT,
    MD014 TEXT,
    MD015 TEXT,
    MD016 TEXT,
    MD017 TEXT,
    PRIMARY KEY (MD001, MD002, MD003, MD004, MD005)
);

-- messages and remark texts: MSGTYPE kind letter, MSGID six-digit number, MSGTEXT text
CREATE TABLE MSGCHT (
    COMPANY TEXT,
    CREATOR TEXT,
    USR_GROUP TEXT,
    CREATE_DATE TEXT,
    MODIFIER TEXT,
    MODI_DATE TEXT,
    FLAG INTEGER,
    MSGTYPE TEXT,
    MSGID TEXT,
    MSGTEXT TEXT,
    PRIMARY KEY (MSGTYPE, MSGID)
);
-- Catalogue of the SQL Server system tables, as far as clients ask for
-- column lengths (the format name limit of WARRANT.NT002).
CREATE TABLE sysobjects (id INTEGER PRIMARY KEY, name TEXT);
CREATE TABLE syscolumns (id INTEGER, name TEXT, length INTEGER);
INSERT INTO sysobjects VALUES (1, 'WARRANT');
INSERT INTO syscolumns VALUES (1, 'NT001', 40);
INSERT INTO syscolumns VALUES (1, 'NT002', 40);
INSERT INTO sysobjects VALUES (2, 'GENES');
INSERT INTO syscolumns VALUES (2, 'NCONDITION', 20);
