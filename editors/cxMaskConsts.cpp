#include "cxMaskConsts.h"

namespace {
TcxResourceStringLoader Loader = nullptr;
}

void cxSetResourceStringLoader(TcxResourceStringLoader ALoader) {
  Loader = ALoader;
}

String cxGetResourceString(const TcxResourceString& ResString) {
  return Loader ? Loader(ResString) : String(ResString.DefaultText);
}
