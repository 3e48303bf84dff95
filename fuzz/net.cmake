# The socket layer's readers of hostile bytes: DNS replies and proxy negotiation replies.
harbek_fuzz(fuzz_dns_reply SOURCES fuzz_dns_reply.cpp LIBS harbek_net_wire SECONDS 20)
harbek_fuzz(fuzz_socks_reply SOURCES fuzz_socks_reply.cpp LIBS harbek_net_wire SECONDS 15)
