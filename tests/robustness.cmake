# Checks that a broken or hostile device library never crashes the program
# or loses a line.

# Thousands of random library answers per step, each compared with the model
# in stepmodel.h. Prints its seed; RANDOM_SEED replays a run.
wdt_add_test(tst_randomsteps SOURCES tst_randomsteps.cpp stepmodel.h)
set_tests_properties(tst_randomsteps PROPERTIES TIMEOUT 600)

# Bytes the 8-bit code page cannot map, under a UTF-8 locale and the C locale.
wdt_add_test(tst_librarytext SOURCES tst_librarytext.cpp ENVIRONMENT LC_ALL=C.UTF-8)
add_test(NAME tst_librarytext_clocale COMMAND tst_librarytext)
set_tests_properties(tst_librarytext_clocale PROPERTIES ENVIRONMENT
    "QT_QPA_PLATFORM=offscreen;LD_LIBRARY_PATH=${WDT_TEST_LIBRARY_PATH};LC_ALL=C")
