// The archive members of the directory and file specifications.
#include "files/ZelDirSpec.h"
#include "files/ZelFileSpec.h"
#include "serialization/ZelArchive.h"

ZEL_IMPLEMENT_SERIALIZE(CZelDirSpec, "CZelDirSpec")
ZEL_IMPLEMENT_SERIALIZE(CZelFileSpec, "CZelFileSpec")

void CZelDirSpec::Serialize(CZelArchive& ar) {
  long dirId = m_macDirId;
  ar(m_isSet)(m_path)(m_macVolId)(dirId);
  m_macDirId = static_cast<int32_t>(dirId);
}

void CZelFileSpec::Serialize(CZelArchive& ar) {
  long type = m_type;
  unsigned long macType = m_macType;
  unsigned long macCreator = m_macCreator;
  ar(m_isSet)(m_path)(type)(macType)(macCreator);
  m_type = static_cast<int32_t>(type);
  m_macType = static_cast<uint32_t>(macType);
  m_macCreator = static_cast<uint32_t>(macCreator);
}
