-- The PLC catalogue: series, models and the word devices of each model.
-- memorix-build-catalogue turns this file into Memorix.db at build time; the
-- program only ever reads that file. The tool runs everything below in one
-- transaction, so no BEGIN/COMMIT here.
--
-- Series and models (tests rely on what each model is for):
--
--  Series 1 "Compact Series A": 32-bit CPU, no FL banks, timers and counters
--  (TS, TE, CS, CE) two words per address, five DT memory patterns.
--    1796 (0x0704) CA-50    shown first (DispOrder 1) although its id is the highest
--    1792 (0x0700) CA-100   the first-run default model; default pattern 2
--    1793 (0x0701) CA-200   timer and counter pairs share a display position,
--                           so the device code orders them within the pair
--    1794 (0x0702) CA-500L  large memory: DT 0..524287
--    1795 (0x0703) CA-90    disabled, never listed
--
--  Series 2 "Modular Series B": 16-bit CPU, every device one word per address,
--  model ids below 256.
--    32 (0x20) MB-16S   small memory (legacy format 16); has no WL and no LD
--    33 (0x21) MB-32L   large memory (legacy format 32): WR+DT+FL+TS+TE+LD+WL
--                       hold 35,712 addresses
--    34 (0x22) MB-64F3  FL in 3 banks (legacy format 2048)
--    35 (0x23) MB-64F8  FL in 8 banks, more than the legacy format can store
--
--  Series 3 "Legacy Series L": every model disabled, so the series never appears.
--    1536 (0x0600) LX-10, 1537 (0x0601) LX-20
--
--  Series 4 "Compact Series C": one enabled model, one disabled.
--    2560 (0x0A00) CC-1000  enabled
--    2561 (0x0A01) CC-800   disabled
--
-- Device codes: 12 CS, 13 CE, 18 WR, 19 WL, 21 DT, 22 LD, 27 TS, 28 TE, 49 FL.
-- Usual display order: WR, WL, DT, LD, FL, TS, TE, CS, CE.

CREATE TABLE MPLCSeries (
    PLCSeriesNo INTEGER PRIMARY KEY,
    SeriesName  TEXT NOT NULL
);

-- DisableFlg is a yes/no flag: 0 enabled, -1 disabled. The queries compare it
-- with the constants No and Yes, which the two generated columns provide.
-- They live in this table only, so a join with MPLCSeries stays unambiguous.
CREATE TABLE MPLC (
    Id               INTEGER PRIMARY KEY,
    FullName         TEXT    NOT NULL,
    PLCSeriesNo      INTEGER NOT NULL REFERENCES MPLCSeries (PLCSeriesNo),
    DispOrder        INTEGER NOT NULL,
    DefaultPatternNo INTEGER NOT NULL CHECK (DefaultPatternNo BETWEEN 0 AND 4),
    DataRegSize1     INTEGER NOT NULL,
    DataRegSize2     INTEGER NOT NULL,
    DataRegSize3     INTEGER NOT NULL,
    DataRegSize4     INTEGER NOT NULL,
    DataRegSize5     INTEGER NOT NULL,
    Is16bitCPUFlg    INTEGER NOT NULL,
    FLBankNum        INTEGER NOT NULL CHECK (FLBankNum BETWEEN 0 AND 255),
    DisableFlg       INTEGER NOT NULL DEFAULT 0 CHECK (DisableFlg IN (0, -1)),
    No               INTEGER GENERATED ALWAYS AS (0) VIRTUAL,
    Yes              INTEGER GENERATED ALWAYS AS (-1) VIRTUAL
);

CREATE TABLE MDevice (
    PlcId     INTEGER NOT NULL REFERENCES MPLC (Id),
    Id        INTEGER NOT NULL CHECK (Id IN (12, 13, 18, 19, 21, 22, 27, 28, 49)),
    DispOrder INTEGER NOT NULL,
    Name      TEXT    NOT NULL,
    MinValue  INTEGER NOT NULL,
    MaxValue  INTEGER NOT NULL,
    DataSize  INTEGER NOT NULL CHECK (DataSize BETWEEN 1 AND 4),
    PRIMARY KEY (PlcId, Id),
    CHECK (MinValue <= MaxValue)
);

INSERT INTO MPLCSeries (PLCSeriesNo, SeriesName) VALUES
    (1, 'Compact Series A'),
    (2, 'Modular Series B'),
    (3, 'Legacy Series L'),
    (4, 'Compact Series C');

-- ---------------------------------------------------------------------------
-- Series 1: Compact Series A
-- ---------------------------------------------------------------------------

INSERT INTO MPLC (Id, FullName, PLCSeriesNo, DispOrder, DefaultPatternNo,
                  DataRegSize1, DataRegSize2, DataRegSize3, DataRegSize4, DataRegSize5,
                  Is16bitCPUFlg, FLBankNum, DisableFlg) VALUES
    (1792, 'CA-100',  1, 2, 2,  12288,  24576,  32768,  49152,  65536, 0, 0,  0),
    (1793, 'CA-200',  1, 3, 1,  32768,  65536,  98304, 114688, 131072, 0, 0,  0),
    (1794, 'CA-500L', 1, 4, 3, 131072, 262144, 393216, 458752, 524288, 0, 0,  0),
    (1795, 'CA-90',   1, 5, 0,   4096,   6144,   8192,  12288,  16384, 0, 0, -1),
    (1796, 'CA-50',   1, 1, 1,   8192,  12288,  16384,  24576,  32768, 0, 0,  0);

INSERT INTO MDevice (PlcId, Id, DispOrder, Name, MinValue, MaxValue, DataSize) VALUES
    -- CA-100
    (1792, 18, 1, 'WR', 0,   511, 1),
    (1792, 19, 2, 'WL', 0,   255, 1),
    (1792, 21, 3, 'DT', 0, 65535, 1),
    (1792, 22, 4, 'LD', 0, 16383, 1),
    (1792, 49, 5, 'FL', 0, 32767, 1),
    (1792, 27, 6, 'TS', 0,  1023, 2),
    (1792, 28, 7, 'TE', 0,  1023, 2),
    (1792, 12, 8, 'CS', 0,  1023, 2),
    (1792, 13, 9, 'CE', 0,  1023, 2),
    -- CA-200: each timer and counter pair shares one display position.
    (1793, 13, 7, 'CE', 0,   2047, 2),
    (1793, 12, 7, 'CS', 0,   2047, 2),
    (1793, 28, 6, 'TE', 0,   2047, 2),
    (1793, 27, 6, 'TS', 0,   2047, 2),
    (1793, 49, 5, 'FL', 0,  65535, 1),
    (1793, 22, 4, 'LD', 0,  16383, 1),
    (1793, 21, 3, 'DT', 0, 131071, 1),
    (1793, 19, 2, 'WL', 0,    511, 1),
    (1793, 18, 1, 'WR', 0,   1023, 1),
    -- CA-500L
    (1794, 18, 1, 'WR', 0,   2047, 1),
    (1794, 19, 2, 'WL', 0,   1023, 1),
    (1794, 21, 3, 'DT', 0, 524287, 1),
    (1794, 22, 4, 'LD', 0,  32767, 1),
    (1794, 49, 5, 'FL', 0, 262143, 1),
    (1794, 27, 6, 'TS', 0,   4095, 2),
    (1794, 28, 7, 'TE', 0,   4095, 2),
    (1794, 12, 8, 'CS', 0,   4095, 2),
    (1794, 13, 9, 'CE', 0,   4095, 2),
    -- CA-90 (disabled)
    (1795, 18, 1, 'WR', 0,   255, 1),
    (1795, 21, 3, 'DT', 0, 16383, 1),
    (1795, 27, 6, 'TS', 0,   255, 2),
    (1795, 28, 7, 'TE', 0,   255, 2),
    -- CA-50
    (1796, 18, 1, 'WR', 0,   255, 1),
    (1796, 19, 2, 'WL', 0,   127, 1),
    (1796, 21, 3, 'DT', 0, 32767, 1),
    (1796, 22, 4, 'LD', 0,  8191, 1),
    (1796, 49, 5, 'FL', 0, 16383, 1),
    (1796, 27, 6, 'TS', 0,   511, 2),
    (1796, 28, 7, 'TE', 0,   511, 2),
    (1796, 12, 8, 'CS', 0,   511, 2),
    (1796, 13, 9, 'CE', 0,   511, 2);

-- ---------------------------------------------------------------------------
-- Series 2: Modular Series B (16-bit CPU)
-- ---------------------------------------------------------------------------

INSERT INTO MPLC (Id, FullName, PLCSeriesNo, DispOrder, DefaultPatternNo,
                  DataRegSize1, DataRegSize2, DataRegSize3, DataRegSize4, DataRegSize5,
                  Is16bitCPUFlg, FLBankNum, DisableFlg) VALUES
    (32, 'MB-16S',  2, 1, 4,  2048,  2560,  3072,  3584,  4096, 1, 0, 0),
    (33, 'MB-32L',  2, 2, 2,  8192, 12288, 16384, 16384, 16384, 1, 0, 0),
    (34, 'MB-64F3', 2, 3, 0, 16384, 16384, 16384, 16384, 16384, 1, 3, 0),
    (35, 'MB-64F8', 2, 4, 0, 16384, 16384, 16384, 16384, 16384, 1, 8, 0);

INSERT INTO MDevice (PlcId, Id, DispOrder, Name, MinValue, MaxValue, DataSize) VALUES
    -- MB-16S: no link devices. The five legacy devices it has hold 13,056 addresses.
    (32, 18, 1, 'WR', 0,  255, 1),
    (32, 21, 3, 'DT', 0, 4095, 1),
    (32, 49, 5, 'FL', 0, 8191, 1),
    (32, 27, 6, 'TS', 0,  255, 1),
    (32, 28, 7, 'TE', 0,  255, 1),
    (32, 12, 8, 'CS', 0,  127, 1),
    (32, 13, 9, 'CE', 0,  127, 1),
    -- MB-32L: the seven legacy devices hold 35,712 addresses.
    (33, 18, 1, 'WR', 0,   511, 1),
    (33, 19, 2, 'WL', 0,   127, 1),
    (33, 21, 3, 'DT', 0, 16383, 1),
    (33, 22, 4, 'LD', 0,   255, 1),
    (33, 49, 5, 'FL', 0, 16383, 1),
    (33, 27, 6, 'TS', 0,  1023, 1),
    (33, 28, 7, 'TE', 0,  1023, 1),
    (33, 12, 8, 'CS', 0,   255, 1),
    (33, 13, 9, 'CE', 0,   255, 1),
    -- MB-64F3: FL is one bank's range, three banks.
    (34, 18, 1, 'WR', 0,   511, 1),
    (34, 19, 2, 'WL', 0,   127, 1),
    (34, 21, 3, 'DT', 0, 16383, 1),
    (34, 22, 4, 'LD', 0,   255, 1),
    (34, 49, 5, 'FL', 0, 32767, 1),
    (34, 27, 6, 'TS', 0,  1023, 1),
    (34, 28, 7, 'TE', 0,  1023, 1),
    (34, 12, 8, 'CS', 0,   255, 1),
    (34, 13, 9, 'CE', 0,   255, 1),
    -- MB-64F8: FL is one bank's range, eight banks.
    (35, 18, 1, 'WR', 0,   511, 1),
    (35, 19, 2, 'WL', 0,   127, 1),
    (35, 21, 3, 'DT', 0, 16383, 1),
    (35, 22, 4, 'LD', 0,   255, 1),
    (35, 49, 5, 'FL', 0, 32767, 1),
    (35, 27, 6, 'TS', 0,  1023, 1),
    (35, 28, 7, 'TE', 0,  1023, 1),
    (35, 12, 8, 'CS', 0,   255, 1),
    (35, 13, 9, 'CE', 0,   255, 1);

-- ---------------------------------------------------------------------------
-- Series 3: Legacy Series L (every model disabled)
-- ---------------------------------------------------------------------------

INSERT INTO MPLC (Id, FullName, PLCSeriesNo, DispOrder, DefaultPatternNo,
                  DataRegSize1, DataRegSize2, DataRegSize3, DataRegSize4, DataRegSize5,
                  Is16bitCPUFlg, FLBankNum, DisableFlg) VALUES
    (1536, 'LX-10', 3, 1, 0, 2048, 2048, 2048, 2048, 2048, 0, 0, -1),
    (1537, 'LX-20', 3, 2, 0, 4096, 4096, 4096, 4096, 4096, 0, 0, -1);

INSERT INTO MDevice (PlcId, Id, DispOrder, Name, MinValue, MaxValue, DataSize) VALUES
    (1536, 18, 1, 'WR', 0,  127, 1),
    (1536, 21, 3, 'DT', 0, 2047, 1),
    (1537, 18, 1, 'WR', 0,  255, 1),
    (1537, 21, 3, 'DT', 0, 4095, 1);

-- ---------------------------------------------------------------------------
-- Series 4: Compact Series C
-- ---------------------------------------------------------------------------

INSERT INTO MPLC (Id, FullName, PLCSeriesNo, DispOrder, DefaultPatternNo,
                  DataRegSize1, DataRegSize2, DataRegSize3, DataRegSize4, DataRegSize5,
                  Is16bitCPUFlg, FLBankNum, DisableFlg) VALUES
    (2560, 'CC-1000', 4, 1, 1, 32768, 65536, 98304, 131072, 262144, 0, 0,  0),
    (2561, 'CC-800',  4, 2, 0, 16384, 32768, 49152,  65536, 131072, 0, 0, -1);

INSERT INTO MDevice (PlcId, Id, DispOrder, Name, MinValue, MaxValue, DataSize) VALUES
    (2560, 18, 1, 'WR', 0,   1023, 1),
    (2560, 19, 2, 'WL', 0,    511, 1),
    (2560, 21, 3, 'DT', 0, 262143, 1),
    (2560, 22, 4, 'LD', 0,  16383, 1),
    (2560, 49, 5, 'FL', 0,  65535, 1),
    (2560, 27, 6, 'TS', 0,   2047, 2),
    (2560, 28, 7, 'TE', 0,   2047, 2),
    (2560, 12, 8, 'CS', 0,   2047, 2),
    (2560, 13, 9, 'CE', 0,   2047, 2),
    (2561, 18, 1, 'WR', 0,    511, 1),
    (2561, 21, 3, 'DT', 0, 131071, 1),
    (2561, 27, 6, 'TS', 0,   1023, 2),
    (2561, 28, 7, 'TE', 0,   1023, 2);
