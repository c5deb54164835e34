#include "afx/exception.h"

void AfxThrowInvalidArgException() { throw CInvalidArgException(); }

void AfxThrowUserException() { throw CUserException(); }

void AfxThrowOleException(std::int32_t status) { throw COleException(status); }
