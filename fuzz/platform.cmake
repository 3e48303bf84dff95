# The class library's readers of outside files: settings files (with the setup pages' view of them).
harbek_fuzz(fuzz_ini SOURCES fuzz_ini.cpp LIBS harbek_platform_core harbek_setup_pages harbek_setup_record
            harbek_fuzz_support MAX_LEN 65536)
