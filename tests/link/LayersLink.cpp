// The layers below the host, linked on their own: every object of base/, gfx/, sound/ and scene/
// goes into this program whole, so a function or object that only host/ defines, used by any of
// them, fails the link with its name.

#include <cstdio>

int main()
{
    std::puts("layers-link: base/, gfx/, sound/ and scene/ link without host/");
    return 0;
}
