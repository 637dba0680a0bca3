#include "app/Startup.h"

int main(int argc, char **argv)
{
    return pixolo::runPixolo(argc, argv);
}
