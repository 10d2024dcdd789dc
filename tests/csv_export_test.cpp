#include "cli_test_fixture.h"
