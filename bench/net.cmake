# Receive throughput of the socket component against a plain blocking receive loop, in the same run.
if(TARGET harbek_net)
    harbek_bench(bench_net SOURCES bench_net.cpp bench_net_peer.cpp LIBS harbek_net)
endif()
