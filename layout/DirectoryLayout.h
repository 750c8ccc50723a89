// The installation's directory layout: the three roots (the main data folder, the
// executables' folder, the shared network database folder), every folder and file derived
// from them, the base names the suite builds its paths from, and the search for the main
// data folder. Every root and derived spec starts unset; a recalculation fills its table
// from the current root by assignment (so an unset root leaves the table as it was).
#pragma once

#include "files/ZelDirSpec.h"
#include "files/ZelFileSpec.h"

// Finds the main data folder (stored setting, then the executable's folder when it holds
// the marker file, then the folder picker; with ask non-zero the picker at once). 1 when
// dir holds an existing, accepted folder, which is then stored; 0 otherwise.
int GetZelMainDir(CZelDirSpec& dir, int ask);
void RecalcMAINDIRDependencies();
void RecalcEXEDIRDependencies();
// TOOLSDIR, TOOLSMENUDIR and TUVAPPFILE from base instead of EXEDIR.
void CalcToolSpecs(const CZelDirSpec& base);
void RecalcNETWORKDIRDependencies();

// The roots.
extern CZelDirSpec MAINDIR;
extern CZelDirSpec EXEDIR;
extern CZelDirSpec NETWORKDIR;

// Derived from MAINDIR.
extern CZelDirSpec ENZDATADIR;
extern CZelDirSpec CNTDATADIR;
extern CZelDirSpec GMDATADIR;
extern CZelDirSpec MOLDATADIR;
extern CZelDirSpec PRODATADIR;
extern CZelDirSpec SEQDIR;
extern CZelDirSpec PSEQDIR;
extern CZelDirSpec OLIGDATADIR;
extern CZelDirSpec MOTDATADIR;
extern CZelDirSpec TABLESDIR;
extern CZelDirSpec TCHDIR;
extern CZelDirSpec MOLCOMMENTDIR;
extern CZelDirSpec PROCOMMENTDIR;
extern CZelDirSpec ENZCOMMENTDIR;
extern CZelDirSpec OLIGCOMMENTDIR;
extern CZelDirSpec MOTCOMMENTDIR;
extern CZelDirSpec GMCOMMENTDIR;
extern CZelDirSpec BACKUPDIR;
extern CZelFileSpec DEFFILE;
extern CZelFileSpec PRODEFFILE;
extern CZelFileSpec FTFILE;
extern CZelFileSpec SVFONTFILE;
extern CZelFileSpec UDATFILE;
extern CZelFileSpec LOCKFILE;
extern CZelDirSpec REPORTDIR;

// Derived from EXEDIR (or the base given to CalcToolSpecs).
extern CZelDirSpec TOOLSDIR;
extern CZelDirSpec TOOLSMENUDIR;
extern CZelFileSpec TUVAPPFILE;

// Derived from NETWORKDIR.
extern CZelDirSpec NETLOCKSDIR;
extern CZelDirSpec NETENZDATADIR;
extern CZelDirSpec NETGMDATADIR;
extern CZelDirSpec NETMOLDATADIR;
extern CZelDirSpec NETPRODATADIR;
extern CZelDirSpec NETSEQDIR;
extern CZelDirSpec NETPSEQDIR;
extern CZelDirSpec NETOLIGDATADIR;
extern CZelDirSpec NETMOTDATADIR;
extern CZelDirSpec NETMOLCOMMENTDIR;
extern CZelDirSpec NETPROCOMMENTDIR;
extern CZelDirSpec NETENZCOMMENTDIR;
extern CZelDirSpec NETOLIGCOMMENTDIR;
extern CZelDirSpec NETMOTCOMMENTDIR;
extern CZelDirSpec NETGMCOMMENTDIR;
extern CZelDirSpec NETTABLESDIR;
extern CZelDirSpec NETTCHDIR;
extern CZelFileSpec NETDBDEFFILE;
extern CZelFileSpec NETDBDEFFILEDELUXE;
extern CZelFileSpec NETLOCKFILE;

// Base names of folders and files.
extern const char* const ENZDATA_DIR_NAME;                    // "EnzData"
extern const char* const CNTDATA_DIR_NAME;                    // "CntData"
extern const char* const GMDATA_DIR_NAME;                     // "GMData"
extern const char* const MOLDATA_DIR_NAME;                    // "MolData"
extern const char* const PRODATA_DIR_NAME;                    // "ProData"
extern const char* const SEQ_DIR_NAME;                        // "Seq"
extern const char* const OLIGDATA_DIR_NAME;                   // "OligData"
extern const char* const MOTDATA_DIR_NAME;                    // "MotData"
extern const char* const TABLES_DIR_NAME;                     // "Tables"
extern const char* const TCH_DIR_NAME;                        // "Incr"
extern const char* const COMMENT_DIR_NAME;                    // "Comment"
extern const char* const BACKUP_DIR_NAME;                     // "Backup"
extern const char* const MOLPROF_FILE_NAME;                   // "MolProf"
extern const char* const PROPROF_FILE_NAME;                   // "ProProf"
extern const char* const FTYPES_FILE_NAME;                    // "FTypes"
extern const char* const SVFONT_FILE_NAME;                    // "QLLSSer"
extern const char* const ZELUDAT_FILE_NAME;                   // "Zeludat"
extern const char* const INTDBLOCK_FILE_NAME;                 // "DB_Lock"
extern const char* const REPORT_DIR_NAME;                     // "Reports"
extern const char* const TOOLS_DIR_NAME;                      // "Tools"
extern const char* const TOOLS_MENU_DIR_NAME;                 // "Menu"
extern const char* const TUVAPP_FILE_NAME;                    // "TuvW32"
extern const char* const OLDTUVAPP_FILE_NAME;                 // "TuvW"
extern const char* const NET_LOCKS_DIR_NAME;                  // "locks"
extern const char* const NET_ENZDATA_DIR_NAME;                // "enzdata"
extern const char* const NET_GMDATA_DIR_NAME;                 // "gmdata"
extern const char* const NET_MOLDATA_DIR_NAME;                // "moldata"
extern const char* const NET_PRODATA_DIR_NAME;                // "prodata"
extern const char* const NET_SEQ_DIR_NAME;                    // "seq"
extern const char* const NET_OLIGDATA_DIR_NAME;               // "oligdata"
extern const char* const NET_MOTDATA_DIR_NAME;                // "motdata"
extern const char* const NET_COMMENT_DIR_NAME;                // "comment"
extern const char* const NET_TABLES_DIR_NAME;                 // "tables"
extern const char* const NET_TCH_DIR_NAME;                    // "incr"
extern const char* const NET_DBDEF_FILE_NAME;                 // "dbdef"
extern const char* const NET_DBDEF_FILE_NAME_DELUXE;          // "dbsch"
extern const char* const EXTDBLOCK_FILE_NAME;                 // "dblock"
extern const char* const ENZDATA_TEST_DIR_NAME;               // "ETstDB"
extern const char* const MOLDATA_TEST_DIR_NAME;               // "MTstDB"
extern const char* const TEST_MOLLIST_FILE_NAME;              // "TstMList"
extern const char* const TEST_ENZLIST_FILE_NAME;              // "TstEList"
extern const char* const DEFSTYLES_FILE_NAME;                 // "Default"
extern const char* const SEQEDIT_FILE_NAME;                   // "SeqEdit"
extern const char* const SEQFILE_FILE_NAME;                   // "SeqFile"
extern const char* const RMAPSEQ_FILE_NAME;                   // "RMapSeq"
extern const char* const SAVESEQ_FILE_NAME;                   // "SaveSeq"
extern const char* const MAKESEQ_FILE_NAME;                   // "MakeSeq"
extern const char* const MOLDBLOG_FILE_NAME;                  // "MolDB"
extern const char* const PRODBLOG_FILE_NAME;                  // "ProDB"
extern const char* const ENZDBLOG_FILE_NAME;                  // "EnzDB"
extern const char* const OLIGDBLOG_FILE_NAME;                 // "OligDB"
extern const char* const MOTDBLOG_FILE_NAME;                  // "MotDB"
extern const char* const GMDBLOG_FILE_NAME;                   // "GMDB"
extern const char* const CNTDBLOG_FILE_NAME;                  // "CntDB"
extern const char* const OLIGOANLOG_FILE_NAME;                // "OligoAn"
extern const char* const OLIGODUPLOG_FILE_NAME;               // "OligoDup"
extern const char* const MOLLIST_FILE_NAME;                   // "MolList"
extern const char* const PROLIST_FILE_NAME;                   // "ProList"
extern const char* const ENZLIST_FILE_NAME;                   // "EnzList"
extern const char* const CNTLIST_FILE_NAME;                   // "CntList"
extern const char* const UDFLIST_FILE_NAME;                   // "UdfList"
extern const char* const OLIGLIST_FILE_NAME;                  // "OligList"
extern const char* const MOTLIST_FILE_NAME;                   // "MotList"
extern const char* const GMLIST_FILE_NAME;                    // "GMList"
extern const char* const MSLIST_FILE_NAME;                    // "MSList"
extern const char* const PSLIST_FILE_NAME;                    // "PSList"
extern const char* const ESLIST_FILE_NAME;                    // "ESList"
extern const char* const CSLIST_FILE_NAME;                    // "CSList"
extern const char* const OSLIST_FILE_NAME;                    // "OSList"
extern const char* const MTSLIST_FILE_NAME;                   // "MtSList"
extern const char* const GSLIST_FILE_NAME;                    // "GSList"
extern const char* const MKWLIST_FILE_NAME;                   // "MKWList"
extern const char* const PKWLIST_FILE_NAME;                   // "PKWList"
extern const char* const EKWLIST_FILE_NAME;                   // "EKWList"
extern const char* const OKWLIST_FILE_NAME;                   // "OKWList"
extern const char* const MTKWLIST_FILE_NAME;                  // "MtKWList"
extern const char* const GKWLIST_FILE_NAME;                   // "GKWList"
extern const char* const FEATLIST_FILE_NAME;                  // "FeatList"
extern const char* const NET_MOLLIST_FILE_NAME;               // "mollist"
extern const char* const NET_PROLIST_FILE_NAME;               // "prolist"
extern const char* const NET_ENZLIST_FILE_NAME;               // "enzlist"
extern const char* const NET_OLIGLIST_FILE_NAME;              // "oliglist"
extern const char* const NET_MOTLIST_FILE_NAME;               // "motlist"
extern const char* const NET_GMLIST_FILE_NAME;                // "gmlist"
extern const char* const NET_MSLIST_FILE_NAME;                // "mslist"
extern const char* const NET_PSLIST_FILE_NAME;                // "pslist"
extern const char* const NET_ESLIST_FILE_NAME;                // "eslist"
extern const char* const NET_OSLIST_FILE_NAME;                // "oslist"
extern const char* const NET_MTSLIST_FILE_NAME;               // "mtslist"
extern const char* const NET_GSLIST_FILE_NAME;                // "gslist"
extern const char* const NET_MKWLIST_FILE_NAME;               // "mkwlist"
extern const char* const NET_PKWLIST_FILE_NAME;               // "pkwlist"
extern const char* const NET_EKWLIST_FILE_NAME;               // "ekwlist"
extern const char* const NET_OKWLIST_FILE_NAME;               // "okwlist"
extern const char* const NET_MTKWLIST_FILE_NAME;              // "mtkwlist"
extern const char* const NET_GKWLIST_FILE_NAME;               // "gkwlist"
extern const char* const NET_FEATLIST_FILE_NAME;              // "featlist"
extern const char* const GELPROF_FILE_NAME;                   // "GelProf"
extern const char* const TEMPLMOLDOC_FILE_NAME;               // "TMolDoc"
extern const char* const TEMPLPRODOC_FILE_NAME;               // "TProDoc"
extern const char* const TEMPLMOLLIST_FILE_NAME;              // "TMolList"
extern const char* const TEMPLPROLIST_FILE_NAME;              // "TProList"
extern const char* const TEMPLOLIGLIST_FILE_NAME;             // "TOlgList"
extern const char* const CONNPROF_FILE_NAME;                  // "ConnProf"
extern const char* const DESPROF_FILE_NAME;                   // "DesProf"
extern const char* const PCRPROF_FILE_NAME;                   // "PCRProf"
extern const char* const HYBPROF_FILE_NAME;                   // "HybrProf"
extern const char* const SPRPROF_FILE_NAME;                   // "SPrmProf"
extern const char* const TOOLPROF_FILE_NAME;                  // "ToolProf"
extern const char* const TOOLMENU_FILE_NAME;                  // "MenuOrder"
extern const char* const PNAMEMAP_FILE_NAME;                  // "NmProf"
extern const char* const TEMPARCH_FILE_NAME;                  // "TempArch"
extern const char* const EXPLDROP_FILE_NAME;                  // "_exdata"
extern const char* const EXTCONNDAT_FILE_NAME;                // "ConnDat"
extern const char* const TOOLSEQ_FILE_NAME;                   // "_seq"
extern const char* const TOOLMFASTA_FILE_NAME;                // "_fasta"
extern const char* const TOOLMGBK_FILE_NAME;                  // "_molgbk"
extern const char* const TOOLMEMBL_FILE_NAME;                 // "_molembl"
extern const char* const TOOLDOC_FILE_NAME;                   // "_doc"
extern const char* const TOOLEKMOL_FILE_NAME;                 // "_ekmols"
extern const char* const MOLDAT_FILE_NAME;                    // "MolData"
extern const char* const GELDAT_FILE_NAME;                    // "GelCDat"
extern const char* const PCRDAT_FILE_NAME;                    // "PCRSet"
extern const char* const PCRDAT_AMPLIFY_SELECTION_FILE_NAME;  // "PCRSetAmplifySelection"
extern const char* const
    PCRDAT_AMPLIFY_SELECTION_XR_REAC_FILE_NAME;                    // "PCRSetAmplifySelectionXRreac"
extern const char* const PCRDAT_AMPLIFY_SELECTION_RIVO_FILE_NAME;  // "PCRSetAmplifySelectionRIVO"
extern const char* const PCRDAT_AMPLIFY_FEATURES_FILE_NAME;        // "PCRSetAmplifyFeatures"
extern const char* const MPCR_FRAGMENT_LIST_FILE_NAME;             // "MPCRFragmentList"
extern const char* const MPCR_ADD_FRAGMENT_FILE_NAME;              // "MPCRAddFragment"
extern const char* const MPCR_DATA_FILE_NAME;                      // "MPCRData"
extern const char* const MPCR_LWC_DATA_FILE_NAME;                  // "MPCRData"
extern const char* const MPCR_RIVO_DATA_FILE_NAME;                 // "MPCRData"
extern const char* const LPCR_DATA_FILE_NAME;                      // "LPCRData"
extern const char* const APCR_FRAGMENT_LIST_FILE_NAME;             // "APCRFragmentList"
extern const char* const APCR_DATA_FILE_NAME;                      // "APCRData"
extern const char* const OPCRDAT_FILE_NAME;                        // "OPCRData"
extern const char* const HYBDAT_FILE_NAME;                         // "HybrSet"
extern const char* const SPRDAT_FILE_NAME;                         // "SPrmSet"
extern const char* const DESDAT_FILE_NAME;                         // "DesSet"
extern const char* const DBINIT_UDF_FILE_NAME;                     // "Sample"
extern const char* const DBINIT_GAR_FILE_NAME;                     // "DBInit"
extern const char* const DBINIT_MAR_FILE_NAME;                     // "DBInit"
extern const char* const DBINIT_PAR_FILE_NAME;                     // "DBInit"
extern const char* const DBINIT_EAR_FILE_NAME;                     // "DBInit"
extern const char* const DBINIT_OAR_FILE_NAME;                     // "DBInit"
extern const char* const DBINIT_MTAR_FILE_NAME;                    // "DBInit"
