#include "classlib/CObject.h"

CObject::~CObject()
{
}
