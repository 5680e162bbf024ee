#include "app/MyDataArray.h"

CMyDataArray::~CMyDataArray() {
    for (INT_PTR i = 0; i < GetSize(); ++i)
        delete GetAt(i);
    SetSize(0);
}
