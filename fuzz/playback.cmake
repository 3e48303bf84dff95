# Recorded files with their frame indexes, through the file reader, the frame-offset scan and the
# playback reader with its thread.
harbek_fuzz(fuzz_avfile SOURCES fuzz_avfile.cpp LIBS harbek_playback harbek_fuzz_support SECONDS 30
            MAX_LEN 32768)
