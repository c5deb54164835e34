#include "afx/exception.h"

void AfxThrowInvalidArgException() { throw CInvalidArgException(); }

void AfxThrowOleException(std::int32_t status) { throw COleException(status); }

