// Entry of every test program: GoogleTest, or a child role when started as
// `program --child ROLE ARGUMENT` by one of its own tests.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

int RunChildRole(const std::string &name, const std::string &argument);

int main(int argc, char **argv)
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0) return RunChildRole(argv[2], argc >= 4 ? argv[3] : "");
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
