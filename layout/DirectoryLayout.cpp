// The directory layout: globals, name constants, recalculation and the main folder search.
#include "layout/DirectoryLayout.h"

#include "layout/Settings.h"
#include "platform/app/WinApp.h"
#include "platform/host/Host.h"
#include "platform/ui/UiBackend.h"

CZelDirSpec MAINDIR;
CZelDirSpec EXEDIR;
CZelDirSpec NETWORKDIR;
CZelDirSpec ENZDATADIR;
CZelDirSpec CNTDATADIR;
CZelDirSpec GMDATADIR;
CZelDirSpec MOLDATADIR;
CZelDirSpec PRODATADIR;
CZelDirSpec SEQDIR;
CZelDirSpec PSEQDIR;
CZelDirSpec OLIGDATADIR;
CZelDirSpec MOTDATADIR;
CZelDirSpec TABLESDIR;
CZelDirSpec TCHDIR;
CZelDirSpec MOLCOMMENTDIR;
CZelDirSpec PROCOMMENTDIR;
CZelDirSpec ENZCOMMENTDIR;
CZelDirSpec OLIGCOMMENTDIR;
CZelDirSpec MOTCOMMENTDIR;
CZelDirSpec GMCOMMENTDIR;
CZelDirSpec BACKUPDIR;
CZelFileSpec DEFFILE;
CZelFileSpec PRODEFFILE;
CZelFileSpec FTFILE;
CZelFileSpec SVFONTFILE;
CZelFileSpec UDATFILE;
CZelFileSpec LOCKFILE;
CZelDirSpec REPORTDIR;
CZelDirSpec TOOLSDIR;
CZelDirSpec TOOLSMENUDIR;
CZelFileSpec TUVAPPFILE;
CZelDirSpec NETLOCKSDIR;
CZelDirSpec NETENZDATADIR;
CZelDirSpec NETGMDATADIR;
CZelDirSpec NETMOLDATADIR;
CZelDirSpec NETPRODATADIR;
CZelDirSpec NETSEQDIR;
CZelDirSpec NETPSEQDIR;
CZelDirSpec NETOLIGDATADIR;
CZelDirSpec NETMOTDATADIR;
CZelDirSpec NETMOLCOMMENTDIR;
CZelDirSpec NETPROCOMMENTDIR;
CZelDirSpec NETENZCOMMENTDIR;
CZelDirSpec NETOLIGCOMMENTDIR;
CZelDirSpec NETMOTCOMMENTDIR;
CZelDirSpec NETGMCOMMENTDIR;
CZelDirSpec NETTABLESDIR;
CZelDirSpec NETTCHDIR;
CZelFileSpec NETDBDEFFILE;
CZelFileSpec NETDBDEFFILEDELUXE;
CZelFileSpec NETLOCKFILE;

const char* const ENZDATA_DIR_NAME = "EnzData";
const char* const CNTDATA_DIR_NAME = "CntData";
const char* const GMDATA_DIR_NAME = "GMData";
const char* const MOLDATA_DIR_NAME = "MolData";
const char* const PRODATA_DIR_NAME = "ProData";
const char* const SEQ_DIR_NAME = "Seq";
const char* const OLIGDATA_DIR_NAME = "OligData";
const char* const MOTDATA_DIR_NAME = "MotData";
const char* const TABLES_DIR_NAME = "Tables";
const char* const TCH_DIR_NAME = "Incr";
const char* const COMMENT_DIR_NAME = "Comment";
const char* const BACKUP_DIR_NAME = "Backup";
const char* const MOLPROF_FILE_NAME = "MolProf";
const char* const PROPROF_FILE_NAME = "ProProf";
const char* const FTYPES_FILE_NAME = "FTypes";
const char* const SVFONT_FILE_NAME = "QLLSSer";
const char* const ZELUDAT_FILE_NAME = "Zeludat";
const char* const INTDBLOCK_FILE_NAME = "DB_Lock";
const char* const REPORT_DIR_NAME = "Reports";
const char* const TOOLS_DIR_NAME = "Tools";
const char* const TOOLS_MENU_DIR_NAME = "Menu";
const char* const TUVAPP_FILE_NAME = "TuvW32";
const char* const OLDTUVAPP_FILE_NAME = "TuvW";
const char* const NET_LOCKS_DIR_NAME = "locks";
const char* const NET_ENZDATA_DIR_NAME = "enzdata";
const char* const NET_GMDATA_DIR_NAME = "gmdata";
const char* const NET_MOLDATA_DIR_NAME = "moldata";
const char* const NET_PRODATA_DIR_NAME = "prodata";
const char* const NET_SEQ_DIR_NAME = "seq";
const char* const NET_OLIGDATA_DIR_NAME = "oligdata";
const char* const NET_MOTDATA_DIR_NAME = "motdata";
const char* const NET_COMMENT_DIR_NAME = "comment";
const char* const NET_TABLES_DIR_NAME = "tables";
const char* const NET_TCH_DIR_NAME = "incr";
const char* const NET_DBDEF_FILE_NAME = "dbdef";
const char* const NET_DBDEF_FILE_NAME_DELUXE = "dbsch";
const char* const EXTDBLOCK_FILE_NAME = "dblock";
const char* const ENZDATA_TEST_DIR_NAME = "ETstDB";
const char* const MOLDATA_TEST_DIR_NAME = "MTstDB";
const char* const TEST_MOLLIST_FILE_NAME = "TstMList";
const char* const TEST_ENZLIST_FILE_NAME = "TstEList";
const char* const DEFSTYLES_FILE_NAME = "Default";
const char* const SEQEDIT_FILE_NAME = "SeqEdit";
const char* const SEQFILE_FILE_NAME = "SeqFile";
const char* const RMAPSEQ_FILE_NAME = "RMapSeq";
const char* const SAVESEQ_FILE_NAME = "SaveSeq";
const char* const MAKESEQ_FILE_NAME = "MakeSeq";
const char* const MOLDBLOG_FILE_NAME = "MolDB";
const char* const PRODBLOG_FILE_NAME = "ProDB";
const char* const ENZDBLOG_FILE_NAME = "EnzDB";
const char* const OLIGDBLOG_FILE_NAME = "OligDB";
const char* const MOTDBLOG_FILE_NAME = "MotDB";
const char* const GMDBLOG_FILE_NAME = "GMDB";
const char* const CNTDBLOG_FILE_NAME = "CntDB";
const char* const OLIGOANLOG_FILE_NAME = "OligoAn";
const char* const OLIGODUPLOG_FILE_NAME = "OligoDup";
const char* const MOLLIST_FILE_NAME = "MolList";
const char* const PROLIST_FILE_NAME = "ProList";
const char* const ENZLIST_FILE_NAME = "EnzList";
const char* const CNTLIST_FILE_NAME = "CntList";
const char* const UDFLIST_FILE_NAME = "UdfList";
const char* const OLIGLIST_FILE_NAME = "OligList";
const char* const MOTLIST_FILE_NAME = "MotList";
const char* const GMLIST_FILE_NAME = "GMList";
const char* const MSLIST_FILE_NAME = "MSList";
const char* const PSLIST_FILE_NAME = "PSList";
const char* const ESLIST_FILE_NAME = "ESList";
const char* const CSLIST_FILE_NAME = "CSList";
const char* const OSLIST_FILE_NAME = "OSList";
const char* const MTSLIST_FILE_NAME = "MtSList";
const char* const GSLIST_FILE_NAME = "GSList";
const char* const MKWLIST_FILE_NAME = "MKWList";
const char* const PKWLIST_FILE_NAME = "PKWList";
const char* const EKWLIST_FILE_NAME = "EKWList";
const char* const OKWLIST_FILE_NAME = "OKWList";
const char* const MTKWLIST_FILE_NAME = "MtKWList";
const char* const GKWLIST_FILE_NAME = "GKWList";
const char* const FEATLIST_FILE_NAME = "FeatList";
const char* const NET_MOLLIST_FILE_NAME = "mollist";
const char* const NET_PROLIST_FILE_NAME = "prolist";
const char* const NET_ENZLIST_FILE_NAME = "enzlist";
const char* const NET_OLIGLIST_FILE_NAME = "oliglist";
const char* const NET_MOTLIST_FILE_NAME = "motlist";
const char* const NET_GMLIST_FILE_NAME = "gmlist";
const char* const NET_MSLIST_FILE_NAME = "mslist";
const char* const NET_PSLIST_FILE_NAME = "pslist";
const char* const NET_ESLIST_FILE_NAME = "eslist";
const char* const NET_OSLIST_FILE_NAME = "oslist";
const char* const NET_MTSLIST_FILE_NAME = "mtslist";
const char* const NET_GSLIST_FILE_NAME = "gslist";
const char* const NET_MKWLIST_FILE_NAME = "mkwlist";
const char* const NET_PKWLIST_FILE_NAME = "pkwlist";
const char* const NET_EKWLIST_FILE_NAME = "ekwlist";
const char* const NET_OKWLIST_FILE_NAME = "okwlist";
const char* const NET_MTKWLIST_FILE_NAME = "mtkwlist";
const char* const NET_GKWLIST_FILE_NAME = "gkwlist";
const char* const NET_FEATLIST_FILE_NAME = "featlist";
const char* const GELPROF_FILE_NAME = "GelProf";
const char* const TEMPLMOLDOC_FILE_NAME = "TMolDoc";
const char* const TEMPLPRODOC_FILE_NAME = "TProDoc";
const char* const TEMPLMOLLIST_FILE_NAME = "TMolList";
const char* const TEMPLPROLIST_FILE_NAME = "TProList";
const char* const TEMPLOLIGLIST_FILE_NAME = "TOlgList";
const char* const CONNPROF_FILE_NAME = "ConnProf";
const char* const DESPROF_FILE_NAME = "DesProf";
const char* const PCRPROF_FILE_NAME = "PCRProf";
const char* const HYBPROF_FILE_NAME = "HybrProf";
const char* const SPRPROF_FILE_NAME = "SPrmProf";
const char* const TOOLPROF_FILE_NAME = "ToolProf";
const char* const TOOLMENU_FILE_NAME = "MenuOrder";
const char* const PNAMEMAP_FILE_NAME = "NmProf";
const char* const TEMPARCH_FILE_NAME = "TempArch";
const char* const EXPLDROP_FILE_NAME = "_exdata";
const char* const EXTCONNDAT_FILE_NAME = "ConnDat";
const char* const TOOLSEQ_FILE_NAME = "_seq";
const char* const TOOLMFASTA_FILE_NAME = "_fasta";
const char* const TOOLMGBK_FILE_NAME = "_molgbk";
const char* const TOOLMEMBL_FILE_NAME = "_molembl";
const char* const TOOLDOC_FILE_NAME = "_doc";
const char* const TOOLEKMOL_FILE_NAME = "_ekmols";
const char* const MOLDAT_FILE_NAME = "MolData";
const char* const GELDAT_FILE_NAME = "GelCDat";
const char* const PCRDAT_FILE_NAME = "PCRSet";
const char* const PCRDAT_AMPLIFY_SELECTION_FILE_NAME = "PCRSetAmplifySelection";
const char* const PCRDAT_AMPLIFY_SELECTION_XR_REAC_FILE_NAME = "PCRSetAmplifySelectionXRreac";
const char* const PCRDAT_AMPLIFY_SELECTION_RIVO_FILE_NAME = "PCRSetAmplifySelectionRIVO";
const char* const PCRDAT_AMPLIFY_FEATURES_FILE_NAME = "PCRSetAmplifyFeatures";
const char* const MPCR_FRAGMENT_LIST_FILE_NAME = "MPCRFragmentList";
const char* const MPCR_ADD_FRAGMENT_FILE_NAME = "MPCRAddFragment";
const char* const MPCR_DATA_FILE_NAME = "MPCRData";
const char* const MPCR_LWC_DATA_FILE_NAME = "MPCRData";
const char* const MPCR_RIVO_DATA_FILE_NAME = "MPCRData";
const char* const LPCR_DATA_FILE_NAME = "LPCRData";
const char* const APCR_FRAGMENT_LIST_FILE_NAME = "APCRFragmentList";
const char* const APCR_DATA_FILE_NAME = "APCRData";
const char* const OPCRDAT_FILE_NAME = "OPCRData";
const char* const HYBDAT_FILE_NAME = "HybrSet";
const char* const SPRDAT_FILE_NAME = "SPrmSet";
const char* const DESDAT_FILE_NAME = "DesSet";
const char* const DBINIT_UDF_FILE_NAME = "Sample";
const char* const DBINIT_GAR_FILE_NAME = "DBInit";
const char* const DBINIT_MAR_FILE_NAME = "DBInit";
const char* const DBINIT_PAR_FILE_NAME = "DBInit";
const char* const DBINIT_EAR_FILE_NAME = "DBInit";
const char* const DBINIT_OAR_FILE_NAME = "DBInit";
const char* const DBINIT_MTAR_FILE_NAME = "DBInit";

namespace {

const int kProgramType = 52;     // ".exe"
const int kDefinitionType = 17;  // ".def"
const char* const kPickerTitle = "Please select Quillion Database folder";

void CalcToolSpecsFrom(const CZelDirSpec& base) {
  TOOLSDIR = base + TOOLS_DIR_NAME;
  TOOLSMENUDIR = TOOLSDIR + TOOLS_MENU_DIR_NAME;
  // The script engine under its current name when present, else its older one.
  TUVAPPFILE = CZelFileSpec(TOOLSDIR, TUVAPP_FILE_NAME, kProgramType);
  if (!TUVAPPFILE.FileExists())
    TUVAPPFILE = CZelFileSpec(TOOLSDIR, OLDTUVAPP_FILE_NAME, kProgramType);
}

// The running program's file, as the application object knows it or as the system does.
CZelFileSpec ExecutableSpec() {
  CString path = AfxGetApp()->m_strExePath;
  if (path.IsEmpty()) path = zel_host::ExecutablePath();
  CZelFileSpec spec;
  if (!path.IsEmpty() && path.GetLength() < MAX_PATH) spec.SetSpec(path, 0);
  return spec;
}

int AcceptChosen(CZelDirSpec& dir, const char* path) {
  dir.SetSpecWin(path);
  if (!dir.DirExists()) return 0;
  ZelWriteProfileString("directories", "maindir", dir.GetPath());
  return 1;
}

}  // namespace

int GetZelMainDir(CZelDirSpec& dir, int ask) {
  CZelFileSpec exe = ExecutableSpec();
  if (!ask) {
    CString stored = ZelGetProfileString("directories", "maindir", nullptr);
    dir.SetSpecWin(stored);
    if (!stored.IsEmpty() && dir.DirExists()) return 1;
    if (exe.IsSpecSet()) {
      dir = exe.GetDirectory();
      if (dir.DirExists() && CZelFileSpec(dir, ZELUDAT_FILE_NAME, kDefinitionType).FileExists()) {
        ZelWriteProfileString("directories", "maindir", dir.GetPath());
        return 1;
      }
    }
  } else if (exe.IsSpecSet()) {
    dir = exe.GetDirectory();
  }
  CString chosen;
  if (!ZelUi().BrowseForFolder(kPickerTitle, dir.GetPath(), chosen)) return 0;
  return AcceptChosen(dir, chosen);
}

void RecalcMAINDIRDependencies() {
  ENZDATADIR = MAINDIR + ENZDATA_DIR_NAME;
  CNTDATADIR = MAINDIR + CNTDATA_DIR_NAME;
  GMDATADIR = MAINDIR + GMDATA_DIR_NAME;
  MOLDATADIR = MAINDIR + MOLDATA_DIR_NAME;
  PRODATADIR = MAINDIR + PRODATA_DIR_NAME;
  SEQDIR = MOLDATADIR + SEQ_DIR_NAME;
  PSEQDIR = PRODATADIR + SEQ_DIR_NAME;
  OLIGDATADIR = MAINDIR + OLIGDATA_DIR_NAME;
  MOTDATADIR = MAINDIR + MOTDATA_DIR_NAME;
  TABLESDIR = MAINDIR + TABLES_DIR_NAME;
  TCHDIR = TABLESDIR + TCH_DIR_NAME;
  MOLCOMMENTDIR = MOLDATADIR + COMMENT_DIR_NAME;
  PROCOMMENTDIR = PRODATADIR + COMMENT_DIR_NAME;
  ENZCOMMENTDIR = ENZDATADIR + COMMENT_DIR_NAME;
  OLIGCOMMENTDIR = OLIGDATADIR + COMMENT_DIR_NAME;
  MOTCOMMENTDIR = MOTDATADIR + COMMENT_DIR_NAME;
  GMCOMMENTDIR = GMDATADIR + COMMENT_DIR_NAME;
  BACKUPDIR = MAINDIR + BACKUP_DIR_NAME;
  DEFFILE = CZelFileSpec(MAINDIR, MOLPROF_FILE_NAME, 51);
  PRODEFFILE = CZelFileSpec(MAINDIR, PROPROF_FILE_NAME, 51);
  FTFILE = CZelFileSpec(MAINDIR, FTYPES_FILE_NAME, 17);
  SVFONTFILE = CZelFileSpec(MAINDIR, SVFONT_FILE_NAME, 50);
  UDATFILE = CZelFileSpec(MAINDIR, ZELUDAT_FILE_NAME, 17);
  LOCKFILE = CZelFileSpec(MAINDIR, INTDBLOCK_FILE_NAME, 5);
  REPORTDIR = MAINDIR + REPORT_DIR_NAME;
}

void RecalcEXEDIRDependencies() { CalcToolSpecsFrom(EXEDIR); }

void CalcToolSpecs(const CZelDirSpec& base) { CalcToolSpecsFrom(base); }

void RecalcNETWORKDIRDependencies() {
  NETLOCKSDIR = NETWORKDIR + NET_LOCKS_DIR_NAME;
  NETENZDATADIR = NETWORKDIR + NET_ENZDATA_DIR_NAME;
  NETGMDATADIR = NETWORKDIR + NET_GMDATA_DIR_NAME;
  NETMOLDATADIR = NETWORKDIR + NET_MOLDATA_DIR_NAME;
  NETPRODATADIR = NETWORKDIR + NET_PRODATA_DIR_NAME;
  NETSEQDIR = NETMOLDATADIR + NET_SEQ_DIR_NAME;
  NETPSEQDIR = NETPRODATADIR + NET_SEQ_DIR_NAME;
  NETOLIGDATADIR = NETWORKDIR + NET_OLIGDATA_DIR_NAME;
  NETMOTDATADIR = NETWORKDIR + NET_MOTDATA_DIR_NAME;
  NETMOLCOMMENTDIR = NETMOLDATADIR + NET_COMMENT_DIR_NAME;
  NETPROCOMMENTDIR = NETPRODATADIR + NET_COMMENT_DIR_NAME;
  NETENZCOMMENTDIR = NETENZDATADIR + NET_COMMENT_DIR_NAME;
  NETOLIGCOMMENTDIR = NETOLIGDATADIR + NET_COMMENT_DIR_NAME;
  NETMOTCOMMENTDIR = NETMOTDATADIR + NET_COMMENT_DIR_NAME;
  NETGMCOMMENTDIR = NETGMDATADIR + NET_COMMENT_DIR_NAME;
  NETTABLESDIR = NETWORKDIR + NET_TABLES_DIR_NAME;
  NETTCHDIR = NETTABLESDIR + NET_TCH_DIR_NAME;
  NETDBDEFFILE = CZelFileSpec(NETWORKDIR, NET_DBDEF_FILE_NAME, 3);
  NETDBDEFFILEDELUXE = CZelFileSpec(NETWORKDIR, NET_DBDEF_FILE_NAME_DELUXE, 3);
  NETLOCKFILE = CZelFileSpec(NETLOCKSDIR, EXTDBLOCK_FILE_NAME, 2);
}
