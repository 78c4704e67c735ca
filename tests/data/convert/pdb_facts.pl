#!/usr/bin/perl
# Prints what Palm::PDB, an independent PalmOS database reader, sees in a PDB:
# one "key=value" line per fact, for the converter tests to compare.
use strict;
use warnings;
use Palm::PDB;
use Palm::Raw;  # the plain handler for any type and creator

my $file = shift or die "usage: pdb_facts.pl FILE\n";
my $pdb = Palm::PDB->new;
$pdb->Load($file) or die "cannot load $file\n";
my @attrs = sort grep { /^[A-Z]/ && $pdb->{attributes}{$_} } keys %{$pdb->{attributes}};
my $app = $pdb->{appinfo};
my $raw = ref($app) eq 'HASH' ? ($app->{raw} // '') : ($app // '');
my @records = @{$pdb->{records} // []};
print "name=$pdb->{name}\n";
print "type=$pdb->{type}\n";
print "creator=$pdb->{creator}\n";
print "attributes=", join(',', @attrs), "\n";
print "ctime=$pdb->{ctime}\n";
print "records=", scalar(@records), "\n";
print "sizes=", join(',', map { length($_->{data}) } @records), "\n";
print "appinfo=", length($raw), "\n";
# The table description after the category block: kind, sync preference,
# the constant 2 and the field count.
if (length($raw) >= 296) {
    my ($kind, $sync, $two, $fields) = unpack 'x278 n n N x8 n', $raw;
    print "table=$kind,$sync,$two,$fields\n";
}
