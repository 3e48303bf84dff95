# The class library's readers of outside files: settings files (with the setup pages' view of them).
harbek_fuzz(fuzz_ini SOURCES fuzz_ini.cpp LIBS harbek_platform_core harbek_setup_pages harbek_setup_record
            harbek_fuzz_support SECONDS 30 MAX_LEN 16384)
# Form definitions, loaded into standard and skin controls; bitmap files; JPEG pictures. Qt runs headless.
harbek_fuzz(fuzz_form SOURCES fuzz_form.cpp LIBS harbek_controls harbek_platform_vcl harbek_fuzz_support
            SECONDS 35)
harbek_fuzz(fuzz_bmp SOURCES fuzz_bmp.cpp LIBS harbek_platform_vcl harbek_fuzz_support SECONDS 25 MAX_LEN 16384)
harbek_fuzz(fuzz_jpeg SOURCES fuzz_jpeg.cpp LIBS harbek_platform_vcl harbek_fuzz_support MAX_LEN 16384)
