#include "app/shell/UntitledNumbers.h"

int TUntitledNumbers::New()
{
    std::size_t k = 0;
    while (k < FTaken.size() && FTaken[k])
        ++k;
    if (k == FTaken.size())
        FTaken.resize(FTaken.size() + Growth, false);
    FTaken[k] = true;
    return static_cast<int>(k) + 1;
}

void TUntitledNumbers::Release(int number)
{
    if (number >= 1 && number <= Size())
        FTaken[static_cast<std::size_t>(number - 1)] = false;
}
